// The upper pane of the main window: one row per playlist entry under the
// special row 0 ("所有歌曲", or the placeholder on an empty library). Row i
// shows entry position i. Clicks choose the entry the song pane shows.
#pragma once

#include "core/PlayListItem.h"
#include "panes/ReportListView.h"
#include "panes/RowTexts.h"

#include <memory>
#include <vector>

class CMainFrame;
class CMusicManager;
class CEntryRowModel;

class CPlayListView : public CReportListView {
    Q_OBJECT
public:
    explicit CPlayListView(CMainFrame* frame, QWidget* parent = nullptr);

    // Rebuilds every row from the library.
    void RefillEntries();
    // Deletes all rows; kind 1 then inserts the all-songs row, 2 the
    // placeholder row, 0 nothing.
    void ClearRows(int kind);
    // Inserts a row showing the entry at index row. A null entry inserts the
    // special row at index 0: "所有歌曲" for row -1, the placeholder for -2.
    void InsertEntryRow(const CEntryPtr& entry, int row);
    // The same for the import worker's rows: the texts are taken now from
    // the entry, and the bug colour from the manager passed in.
    // texts: taken already by the caller, or null to take them now.
    void InsertImportedEntryRow(CMusicManager* manager, const CEntryPtr& entry, int row,
                                std::shared_ptr<const CRowTexts> texts = nullptr);
    void UpdateEntryRow(const CEntryPtr& entry, int row);
    // More selected rows than capacity: returns capacity, buffer untouched.
    // Otherwise fills buffer with the selected rows in ascending order and
    // returns the last one written, -1 when none is selected.
    int GetSelectedRows(int* buffer, int capacity) const;

    // Makes row the entry the window works on: the manager's currentRow
    // names it and the song pane shows its songs, refilled when refill is
    // set or when the pane shows another list.
    void ShowEntrySongs(int row, bool refill);
    // Selects only row and makes it current.
    void HighlightRow(int row);
    // Redraws every row from its record (play counts after a play; rows the
    // import worker added).
    void RefreshRowTexts();

    // What a row shows, for the window's own checks and the tests.
    QString ItemText(int row, int column) const;
    int ItemImage(int row) const;

    static const int kColumnCount = 8;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void OnHeaderClicked(int column) override;
    // Adds a dropped .m3u file as a new entry.
    void AddDroppedFile(const std::string& path) override;

private:
    void OnLeftClick(int mark);
    void OnRightClick(int mark);
    void Activate();
    CMusicManager* Manager() const;

    CMainFrame* m_pFrame;
    CEntryRowModel* m_pModel;
    int m_lastClickRow = 0;      // the row the last left click handled
    int m_lastRightClickRow = 0; // the same for right clicks
    bool m_entrySortAscending = true;
};
