#include "FilesTable.h"

#include "FileActions.h"
#include "FilesTableCell.h"
#include "RecentFilesModel.h"

#include <QCursor>
#include <QDrag>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

FilesTable::FilesTable(QWidget* parent)
    : FilesCollectionView(parent)
{}

void FilesTable::selectRow(int row, ScrollHint hint)
{
    if (!filesModel() || filesModel()->isHeading(row))
        return;
    FilesCollectionView::selectRow(row, hint);
}

int FilesTable::fileRowAt(const QPoint& pos) const
{
    const QModelIndex index = indexAt(pos);
    return index.isValid() && !filesModel()->isHeading(index.row()) ? index.row() : -1;
}

int FilesTable::fileRowFrom(int row, int step) const
{
    const RecentFilesModel* files = filesModel();
    if (!files)
        return -1;
    for (int candidate = row; candidate >= 0 && candidate < files->rowCount(); candidate += step)
        if (!files->isHeading(candidate))
            return candidate;
    return -1;
}

QModelIndex FilesTable::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = currentIndex();
    const QModelIndex next = QListView::moveCursor(cursorAction, modifiers);
    const RecentFilesModel* files = filesModel();
    if (!next.isValid() || !files || !files->isHeading(next.row()))
        return next;
    // Headings are passed over in the direction of travel; at an end, the nearest file the
    // other way.
    const int step = current.isValid() && next.row() < current.row() ? -1 : 1;
    int row = fileRowFrom(next.row() + step, step);
    if (row < 0)
        row = fileRowFrom(next.row() - step, -step);
    return row < 0 ? current : model()->index(row, 0);
}

void FilesTable::keyPressEvent(QKeyEvent* event)
{
    if (handleSharedKey(event))
        return;
    switch (event->key()) {
    case Qt::Key_Left:
        // The window moves the focus back to the applications.
        closeQuickLook();
        event->ignore();
        return;
    case Qt::Key_Right:
        event->ignore();
        return;
    case Qt::Key_Down:
    case Qt::Key_Up:
        // With nothing selected the first press chooses the first (or last) file.
        if (selectedRow() < 0 && filesModel()) {
            const int last = filesModel()->rowCount() - 1;
            selectRow(event->key() == Qt::Key_Down ? fileRowFrom(0, 1) : fileRowFrom(last, -1));
            return;
        }
        QListView::keyPressEvent(event);
        return;
    default:
        QListView::keyPressEvent(event);
    }
}

void FilesTable::mousePressEvent(QMouseEvent* event)
{
    if (handleSharedPress(event))
        return;
    if (fileRowAt(event->position().toPoint()) < 0) {
        clearSelection();
        return;
    }
    // A Command-click does not change the selection.
    if (event->modifiers() & Qt::ControlModifier)
        return;
    QListView::mousePressEvent(event);
}

void FilesTable::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int row = fileRowAt(event->position().toPoint());
    if (row < 0) {
        clearSelection();
        return;
    }
    // While the preview is open a double click only selects.
    if (isPreviewPanelOpen())
        return;
    postClickedFileRow(row);
}

void FilesTable::startDrag(Qt::DropActions supportedActions)
{
    const int selected = selectedRow();
    const RecentFilesModel* files = filesModel();
    const QModelIndex row = selected >= 0 && files ? files->index(selected, 0) : QModelIndex();
    QMimeData* urls = row.isValid() ? files->mimeData({row}) : nullptr;
    if (!urls)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(urls);
    drag->setPixmap(FilesTableCell::draggingImage(row, palette(), devicePixelRatioF()));
    // The picture stays where the row was taken.
    const QPoint grabbed = viewport()->mapFromGlobal(QCursor::pos()) - visualRect(row).topLeft();
    const QSize image = drag->pixmap().deviceIndependentSize().toSize();
    drag->setHotSpot(QPoint(std::clamp(grabbed.x(), 0, std::max(0, image.width() - 1)),
                            std::clamp(grabbed.y(), 0, std::max(0, image.height() - 1))));
    drag->exec(allowedDragActions(supportedActions), Qt::CopyAction);
}
