#include "panes/ReportList.h"

#include <QHeaderView>
#include <QTableView>

void SetUpReportList(QTableView* view) {
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setShowGrid(true);
    view->setWordWrap(false);
    view->setIconSize(QSize(16, 16));
    view->setContextMenuPolicy(Qt::PreventContextMenu);
    view->setAcceptDrops(true);
    view->setDragDropMode(QAbstractItemView::DropOnly);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view->horizontalHeader()->setSectionsClickable(true);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setStretchLastSection(false);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
}

int RowAt(const QTableView* view, const QPoint& point) {
    QModelIndex index = view->indexAt(point);
    return index.isValid() ? index.row() : -1;
}
