// What both panes of the main window share: the report-list look, the
// selection calls the command handlers use, file drops handed on one path at
// a time, column widths that never cut a normal value and a last column that
// fills the pane, the sort arrow, and the keys that move between the panes.
#pragma once

#include <QTableView>

#include <string>
#include <vector>

class QAbstractItemModel;

class CReportListView : public QTableView {
    Q_OBJECT
public:
    // The selected rows in ascending order.
    std::vector<int> SelectedRows() const;
    int GetSelectedCount() const;
    // With clearMark, the selection-mark row loses its selection first; then
    // row becomes selected and current.
    void SelectRow(int row, int clearMark);
    // The row last clicked or moved to (the current row), -1 when none.
    int GetSelectionMark() const;
    void SetSelectionMark(int row);
    int GetItemCount() const;
    void EnsureVisible(int row);
    // Shows the direction arrow on the heading of the column last sorted.
    void ShowSortIndicator(int column, bool ascending);
    // Where a menu opened from the keyboard appears: under the current row,
    // or at the pane's top left corner.
    QPoint PopupPosition() const;

signals:
    // Tab, Shift+Tab or F6: the focus goes to the other pane.
    void PaneSwitchRequested();

protected:
    // Sets the view up on rows, which it takes over, with the given object
    // name and column widths; heading clicks go to OnHeaderClicked. A column
    // with a widest normal text (widestTexts[c], null for none) is made wide
    // enough to show it whole, and its heading with the sort arrow.
    CReportListView(QAbstractItemModel* rows, const char* name, const int* columnWidths,
                    const char* const* widestTexts, int columnCount, QWidget* parent);

    virtual void OnHeaderClicked(int column) = 0;
    // A local file dropped on the pane.
    virtual void AddDroppedFile(const std::string& path) = 0;

    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool event(QEvent* event) override;
    // Home and End go to the first and the last row, as in a list.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    bool viewportEvent(QEvent* event) override;

private:
    void FitColumn(int column, const char* widestText);
    void OnSectionResized(int column, int newSize);
    // Widens the last column over the room the others leave, never below
    // the width last asked for it.
    void FillLastColumn();

    int m_lastColumnFloor = 0;
    bool m_bFilling = false;
};
