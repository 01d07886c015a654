#include "panes/ReportListView.h"

#include "panes/ReportList.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMimeData>
#include <QStyle>
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

bool IsPaneSwitchKey(const QKeyEvent* key) {
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return false;
    }
    return key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->key() == Qt::Key_F6;
}

} // namespace

CReportListView::CReportListView(QAbstractItemModel* rows, const char* name,
                                 const int* columnWidths, const char* const* widestTexts,
                                 int columnCount, QWidget* parent)
    : QTableView(parent) {
    rows->setParent(this);
    setObjectName(QString::fromLatin1(name));
    setModel(rows);
    SetUpReportList(this);
    QHeaderView* header = horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    for (int column = 0; column < columnCount; ++column) {
        header->resizeSection(column, columnWidths[column]);
        FitColumn(column, widestTexts[column]);
    }
    m_lastColumnFloor = header->sectionSize(columnCount - 1);
    connect(header, &QHeaderView::sectionClicked, this,
            [this](int column) { OnHeaderClicked(column); });
    connect(header, &QHeaderView::sectionResized, this,
            [this](int column, int, int newSize) { OnSectionResized(column, newSize); });
}

void CReportListView::FitColumn(int column, const char* widestText) {
    if (widestText == nullptr) {
        return;
    }
    // The margins an item view leaves on both sides of a cell's text, and
    // the grid line.
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    const int textWidth =
        fontMetrics().horizontalAdvance(QString::fromUtf8(widestText)) + margin + 1;
    QHeaderView* header = horizontalHeader();
    const int wanted =
        std::max({header->sectionSize(column), textWidth, header->sectionSizeHint(column)});
    header->resizeSection(column, wanted);
}

void CReportListView::OnSectionResized(int column, int newSize) {
    if (m_bFilling) {
        return;
    }
    if (column == horizontalHeader()->count() - 1) {
        m_lastColumnFloor = newSize;
    }
    FillLastColumn();
}

void CReportListView::FillLastColumn() {
    QHeaderView* header = horizontalHeader();
    const int last = header->count() - 1;
    if (last < 0) {
        return;
    }
    int others = 0;
    for (int column = 0; column < last; ++column) {
        others += header->sectionSize(column);
    }
    const int width = std::max(m_lastColumnFloor, viewport()->width() - others);
    if (header->sectionSize(last) != width) {
        m_bFilling = true;
        header->resizeSection(last, width);
        m_bFilling = false;
    }
}

void CReportListView::ShowSortIndicator(int column, bool ascending) {
    horizontalHeader()->setSortIndicator(column,
                                         ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

QPoint CReportListView::PopupPosition() const {
    const int row = GetSelectionMark();
    QRect cell = row >= 0 ? visualRect(model()->index(row, 0)) : QRect();
    QPoint local = cell.isValid() ? cell.bottomLeft() : QPoint(0, 0);
    return viewport()->mapToGlobal(local);
}

bool CReportListView::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress && IsPaneSwitchKey(static_cast<QKeyEvent*>(event))) {
        emit PaneSwitchRequested();
        return true;
    }
    return QTableView::event(event);
}

QModelIndex CReportListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (action == MoveHome || action == MoveEnd) {
        modifiers |= Qt::ControlModifier;
    }
    return QTableView::moveCursor(action, modifiers);
}

bool CReportListView::viewportEvent(QEvent* event) {
    const bool handled = QTableView::viewportEvent(event);
    if (event->type() == QEvent::Resize) {
        FillLastColumn();
    }
    return handled;
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
