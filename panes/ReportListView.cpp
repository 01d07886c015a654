#include "panes/ReportListView.h"

#include "panes/ReportList.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QUrl>

#include <algorithm>

namespace {

// Only dragged files are taken; anything else is refused.
void AcceptUrls(QDropEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

} // namespace

CReportListView::CReportListView(QAbstractItemModel* rows, const char* name,
                                 const int* columnWidths, int columnCount, QWidget* parent)
    : QTableView(parent) {
    rows->setParent(this);
    setObjectName(QString::fromLatin1(name));
    setModel(rows);
    SetUpReportList(this);
    for (int column = 0; column < columnCount; ++column) {
        horizontalHeader()->resizeSection(column, columnWidths[column]);
    }
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { OnHeaderClicked(column); });
}

std::vector<int> CReportListView::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

int CReportListView::GetSelectedCount() const {
    return static_cast<int>(selectionModel()->selectedRows().size());
}

void CReportListView::SelectRow(int row, int clearMark) {
    if (clearMark != 0) {
        int mark = GetSelectionMark();
        if (mark >= 0) {
            selectionModel()->select(model()->index(mark, 0),
                                     QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        }
    }
    if (row < 0 || row >= GetItemCount()) {
        return;
    }
    selectionModel()->setCurrentIndex(model()->index(row, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

int CReportListView::GetSelectionMark() const {
    QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void CReportListView::SetSelectionMark(int row) {
    selectionModel()->setCurrentIndex(row >= 0 ? model()->index(row, 0) : QModelIndex(),
                                      QItemSelectionModel::NoUpdate);
}

int CReportListView::GetItemCount() const {
    return model()->rowCount();
}

void CReportListView::EnsureVisible(int row) {
    if (row >= 0 && row < GetItemCount()) {
        scrollTo(model()->index(row, 0));
    }
}

void CReportListView::dragEnterEvent(QDragEnterEvent* event) {
    AcceptUrls(event);
}

void CReportListView::dragMoveEvent(QDragMoveEvent* event) {
    AcceptUrls(event);
}

void CReportListView::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            AddDroppedFile(url.toLocalFile().toStdString());
        }
    }
    event->acceptProposedAction();
}
