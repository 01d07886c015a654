// The report-list look and the row lookup that both panes share.
#pragma once

class QPoint;
class QTableView;

// Whole-row extended selection, grid lines, no editing, 16-pixel images,
// file drops accepted, left-aligned headings, no row numbers.
void SetUpReportList(QTableView* view);
// The row under a point of the view's viewport, -1 for none.
int RowAt(const QTableView* view, const QPoint& point);
