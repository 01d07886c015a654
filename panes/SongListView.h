// The lower pane of the main window: the songs of the entry chosen in the
// playlist pane, or every song of the library for its row 0. Row i shows
// song position i + 1 of the list shown.
#pragma once

#include "core/PlayListItem.h"
#include "core/SongItem.h"
#include "panes/ReportListView.h"
#include "panes/RowTexts.h"

#include <memory>
#include <vector>

class CMainFrame;
class CMusicManager;
class CSongRowModel;

class CSongListView : public CReportListView {
    Q_OBJECT
public:
    // The value of Refill's row that means the playlist pane's selected row.
    static const int kSelectedEntryRow = 65000;
    static const int kColumnCount = 8;

    explicit CSongListView(CMainFrame* frame, QWidget* parent = nullptr);

    // Shows the songs for a playlist-pane row: row 0 (or below) the flat
    // list as stored, row k the songs of entry k sorted by their order.
    void Refill(int row);
    // Shows the entry's songs in list order.
    void FillFromEntry(const CEntryPtr& entry);
    void InsertSongRow(const CSongPtr& song, int row);
    // The same for the import worker's rows: texts taken now, the icon
    // setting from the manager passed in.
    // texts: taken already by the caller, or null to take them now.
    void InsertImportedSongRow(const CSongPtr& song, int row, CMusicManager* manager,
                               std::shared_ptr<const CRowTexts> texts = nullptr);
    void UpdateSongRow(const CSongPtr& song, int row);
    void DeleteRow(int row);
    void DeleteAllRows();
    // Sets count to the number of selected rows, fills rows with them in
    // ascending order and returns the last, or -1 when none is selected.
    int GetSelectedRows(std::vector<int>& rows, int& count) const;

    // True when the pane shows the list of a playlist-pane row: the flat
    // list for row 0, the songs of entry k for row k.
    bool ShowsSongsOf(int row) const;
    // The entry whose songs are shown, null while the flat list is.
    CEntryPtr ShownEntry() const { return m_shownEntry; }
    void RefreshRowTexts();

    QString ItemText(int row, int column) const;
    int ItemImage(int row) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void OnHeaderClicked(int column) override;
    // Adds a dropped song file to the list shown.
    void AddDroppedFile(const std::string& path) override;

private:
    void DragTo(int row);
    // The list the rows stand for: the shown entry's songs, or the flat list.
    CSongList* ShownList() const;
    void ShowList(const CEntryPtr& entry);
    CMusicManager* Manager() const;

    CMainFrame* m_pFrame;
    CSongRowModel* m_pModel;
    int m_dragging = 0;
    int m_dragRow = -1;
    bool m_songSortAscending = true;
    // An entry's songs are shown (their order numbers show), not the flat list.
    bool m_bShowsEntry = false;
    // The rows stand for a list: m_shownEntry's songs, or the flat list when
    // it is null. False after DeleteAllRows until rows are added again.
    bool m_bShowsList = false;
    CEntryPtr m_shownEntry;
};
