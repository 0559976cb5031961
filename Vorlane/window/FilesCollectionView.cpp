#include "FilesCollectionView.h"

#include "FileActions.h"
#include "FilesContextMenu.h"
#include "ItemViewSelection.h"
#include "MainWindowHelper.h"
#include "NotificationCenter.h"
#include "QuickLookMenuItem.h"
#include "RecentFilesModel.h"
#include "SlimScrollBar.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

FilesCollectionView::FilesCollectionView(QWidget* parent)
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
    setAccessibleName(tr("Documents"));
    SlimScrollBar::apply(verticalScrollBar());
}

RecentFilesModel* FilesCollectionView::filesModel() const
{
    return qobject_cast<RecentFilesModel*>(model());
}

int FilesCollectionView::selectedRow() const
{
    return selectedRowOf(this);
}

void FilesCollectionView::selectRow(int row, ScrollHint hint)
{
    selectOnlyRow(this, row, hint);
}

void FilesCollectionView::changeEvent(QEvent* event)
{
    QListView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        SlimScrollBar::apply(verticalScrollBar());
}

bool FilesCollectionView::handleSharedKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
        toggleQuickLook(this);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (const int row = selectedRow(); row >= 0)
            postClickedFileRow(row);
        return true;
    case Qt::Key_Escape:
        MainWindowHelper::hideMainWindow();
        return true;
    default:
        return false;
    }
}

bool FilesCollectionView::handleSharedPress(QMouseEvent* event)
{
    // Meta stands where the Control key stands elsewhere: Meta-click opens the context menu.
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::MetaModifier)) {
        openMenu(event->position().toPoint(), event->globalPosition().toPoint());
        return true;
    }
    // Other buttons select nothing: the right one asks for the context menu afterwards.
    return event->button() != Qt::LeftButton;
}

void FilesCollectionView::postClickedFileRow(int row) const
{
    NotificationCenter::defaultCenter().post(NotificationName::clickedFileRow,
                                             QVariant::fromValue<qlonglong>(row));
}

Qt::DropActions FilesCollectionView::allowedDragActions(Qt::DropActions supported)
{
    return supported & (Qt::CopyAction | Qt::LinkAction);
}

void FilesCollectionView::contextMenuEvent(QContextMenuEvent* event)
{
    // From the keyboard the menu is for the current file.
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const QRect row = visualRect(currentIndex());
        if (row.isValid())
            openMenu(row.center(), viewport()->mapToGlobal(row.center()));
        return;
    }
    openMenu(event->pos(), event->globalPos());
}

QMenu* FilesCollectionView::contextMenu()
{
    if (!m_menu)
        m_menu = new FilesContextMenu(this);
    return m_menu;
}

QMenu* FilesCollectionView::menuForEvent(const QPoint& pos)
{
    const int row = fileRowAt(pos);
    if (row < 0) {
        noFileAt(pos);
        return nullptr;
    }
    selectRow(row);
    QMenu* menu = contextMenu();
    QuickLookMenuItem::tagItem(menu);
    return menu;
}

void FilesCollectionView::willOpenMenu()
{
    const RecentFilesModel* files = filesModel();
    if (const RecentFile* file = files ? files->fileAt(selectedRow()) : nullptr)
        QuickLookMenuItem::retitle(contextMenu(), file->name());
}

void FilesCollectionView::openMenu(const QPoint& pos, const QPoint& globalPos)
{
    QMenu* menu = menuForEvent(pos);
    if (!menu)
        return;
    willOpenMenu();
    menu->exec(globalPos);
}
