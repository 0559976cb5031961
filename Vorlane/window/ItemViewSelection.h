#pragma once

#include <QAbstractItemView>

// The one-row selections of the window's lists and the files grid.

// The first selected row; -1 when nothing is selected or the view has no selection model yet.
int selectedRowOf(const QAbstractItemView* view);
// Selects exactly this row, makes it current and scrolls to it. False, and nothing changed,
// when the row does not exist.
bool selectOnlyRow(QAbstractItemView* view, int row,
                   QAbstractItemView::ScrollHint hint = QAbstractItemView::EnsureVisible);
// Nothing selected; the current row stays.
void clearSelectionOf(QAbstractItemView* view);
