// What both panes of the main window share: the report-list look, the
// selection calls the command handlers use, and file drops handed on one
// path at a time.
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

protected:
    // Sets the view up on rows, which it takes over, with the given object
    // name and column widths; heading clicks go to OnHeaderClicked.
    CReportListView(QAbstractItemModel* rows, const char* name, const int* columnWidths,
                    int columnCount, QWidget* parent);

    virtual void OnHeaderClicked(int column) = 0;
    // A local file dropped on the pane.
    virtual void AddDroppedFile(const std::string& path) = 0;

    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
