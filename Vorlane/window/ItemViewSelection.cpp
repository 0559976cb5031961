#include "ItemViewSelection.h"

#include <QItemSelectionModel>

int selectedRowOf(const QAbstractItemView* view)
{
    if (!view->selectionModel())
        return -1;
    const QModelIndexList selected = view->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

bool selectOnlyRow(QAbstractItemView* view, int row, QAbstractItemView::ScrollHint hint)
{
    if (!view->model() || !view->selectionModel())
        return false;
    const QModelIndex index = view->model()->index(row, 0);
    if (!index.isValid())
        return false;
    view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    view->scrollTo(index, hint);
    return true;
}

void clearSelectionOf(QAbstractItemView* view)
{
    if (view->selectionModel())
        view->selectionModel()->clearSelection();
}
