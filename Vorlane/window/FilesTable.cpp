#include "FilesTable.h"

#include "FileActions.h"
#include "FilesContextMenu.h"
#include "FilesTableCell.h"
#include "MainWindowHelper.h"
#include "NotificationCenter.h"
#include "QuickLookMenuItem.h"
#include "RecentFilesModel.h"
#include "SlimScrollBar.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QDrag>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

FilesTable::FilesTable(QWidget* parent)
    : QListView(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Documents drag out as their files, into any program; nothing is dropped here.
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setMouseTracking(true);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    viewport()->setAutoFillBackground(false);
    setAccessibleName(QStringLiteral("Documents"));
    SlimScrollBar::apply(verticalScrollBar());
}

RecentFilesModel* FilesTable::filesModel() const
{
    return qobject_cast<RecentFilesModel*>(model());
}

void FilesTable::changeEvent(QEvent* event)
{
    QListView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        SlimScrollBar::apply(verticalScrollBar());
}

int FilesTable::selectedRow() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

void FilesTable::selectRow(int row, ScrollHint hint)
{
    if (!model() || !selectionModel())
        return;
    const QModelIndex index = model()->index(row, 0);
    // Headings are never chosen, nor even current.
    if (!index.isValid() || filesModel()->isHeading(row))
        return;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index, hint);
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
    switch (event->key()) {
    case Qt::Key_Space:
        toggleQuickLook(this);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (const int row = selectedRow(); row >= 0)
            postClickedFileRow(row);
        return;
    case Qt::Key_Escape:
        MainWindowHelper::hideMainWindow();
        return;
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
    const QPoint pos = event->position().toPoint();
    // Meta stands where the Control key stands elsewhere: Meta-click opens the context menu.
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::MetaModifier)) {
        openMenu(pos, event->globalPosition().toPoint());
        return;
    }
    // Other buttons select nothing: the right one asks for the context menu afterwards.
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(pos);
    if (!index.isValid() || filesModel()->isHeading(index.row())) {
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
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid() || filesModel()->isHeading(index.row())) {
        clearSelection();
        return;
    }
    // While the preview is open a double click only selects.
    if (m_previewPanelOpen)
        return;
    postClickedFileRow(index.row());
}

void FilesTable::postClickedFileRow(int row) const
{
    NotificationCenter::defaultCenter().post(NotificationName::clickedFileRow,
                                             QVariant::fromValue<qlonglong>(row));
}

void FilesTable::contextMenuEvent(QContextMenuEvent* event)
{
    // From the keyboard the menu is for the selected row.
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const QRect row = visualRect(currentIndex());
        if (row.isValid())
            openMenu(row.center(), viewport()->mapToGlobal(row.center()));
        return;
    }
    openMenu(event->pos(), event->globalPos());
}

QMenu* FilesTable::contextMenu()
{
    if (!m_menu)
        m_menu = new FilesContextMenu(this);
    return m_menu;
}

QMenu* FilesTable::menuForEvent(const QPoint& pos)
{
    const QModelIndex index = indexAt(pos);
    if (!index.isValid() || filesModel()->isHeading(index.row()))
        return nullptr;
    selectRow(index.row());
    QMenu* menu = contextMenu();
    QuickLookMenuItem::tagItem(menu);
    return menu;
}

void FilesTable::willOpenMenu()
{
    const RecentFilesModel* files = filesModel();
    if (const RecentFile* file = files ? files->fileAt(selectedRow()) : nullptr)
        QuickLookMenuItem::retitle(contextMenu(), file->name());
}

void FilesTable::openMenu(const QPoint& pos, const QPoint& globalPos)
{
    QMenu* menu = menuForEvent(pos);
    if (!menu)
        return;
    willOpenMenu();
    menu->exec(globalPos);
}

void FilesTable::startDrag(Qt::DropActions supportedActions)
{
    const QModelIndexList rows = selectedIndexes();
    const RecentFilesModel* files = filesModel();
    QMimeData* urls = files && !rows.isEmpty() ? files->mimeData(rows) : nullptr;
    if (!urls)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(urls);
    const QModelIndex row = rows.constFirst();
    drag->setPixmap(FilesTableCell::draggingImage(row, palette(), devicePixelRatioF()));
    // The picture stays where the row was taken.
    const QPoint grabbed = viewport()->mapFromGlobal(QCursor::pos()) - visualRect(row).topLeft();
    const QSize image = drag->pixmap().deviceIndependentSize().toSize();
    drag->setHotSpot(QPoint(std::clamp(grabbed.x(), 0, std::max(0, image.width() - 1)),
                            std::clamp(grabbed.y(), 0, std::max(0, image.height() - 1))));
    // Copied or linked, never moved: a file manager that moved the document would take it away
    // from where every record of it points.
    drag->exec(supportedActions & (Qt::CopyAction | Qt::LinkAction), Qt::CopyAction);
}
