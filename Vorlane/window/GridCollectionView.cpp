#include "GridCollectionView.h"

#include "AppsTableView.h"
#include "AppsTableViewController.h"
#include "FileActions.h"
#include "FilesContextMenu.h"
#include "GridItem.h"
#include "GridItemLayout.h"
#include "MainWindowHelper.h"
#include "NotificationCenter.h"
#include "QuickLookMenuItem.h"
#include "RecentFilesModel.h"
#include "SharedReferences.h"
#include "SlimScrollBar.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>

GridCollectionView::GridCollectionView(QWidget* parent)
    : QListView(parent)
    , m_item(new GridItem(this))
{
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setSpacing(0);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Static items turn dragging off; documents still drag out as their files.
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
    setItemDelegate(m_item);
    SlimScrollBar::apply(verticalScrollBar());
    verticalScrollBar()->setSingleStep(24);
    updateGridSize();
}

RecentFilesModel* GridCollectionView::filesModel() const
{
    return qobject_cast<RecentFilesModel*>(model());
}

void GridCollectionView::reset()
{
    QListView::reset();
    m_prevSelectionIndex = -1;
    m_item->keepFramedPicturesOf(filesModel());
}

void GridCollectionView::changeEvent(QEvent* event)
{
    QListView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        SlimScrollBar::apply(verticalScrollBar());
}

void GridCollectionView::resizeEvent(QResizeEvent* event)
{
    updateGridSize();
    QListView::resizeEvent(event);
}

void GridCollectionView::updateGridSize()
{
    // The columns share the width evenly, so the grid fills the pane from edge to edge. The
    // room the layout keeps for a scroll bar is always left out, so the scroll bar's coming
    // and going never changes the columns.
    const int scrollBar =
        style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
    const int available =
        std::max(maximumViewportSize().width() - scrollBar - 1, GridItemLayout::itemWidth);
    const int columns = std::max(1, available / GridItemLayout::itemWidth);
    const QSize cell(available / columns, GridItemLayout::itemHeight);
    if (cell == gridSize())
        return;
    m_item->setCellSize(cell);
    setGridSize(cell);
}

int GridCollectionView::selectedItem() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

void GridCollectionView::selectItem(int item, ScrollHint hint)
{
    if (!model() || !selectionModel())
        return;
    const QModelIndex index = model()->index(item, 0);
    if (!index.isValid())
        return;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index, hint);
}

void GridCollectionView::startDrag(Qt::DropActions supportedActions)
{
    // While Ctrl is held the item stands for its location, not for the document.
    if (commandKeyHeld)
        return;
    // Copied or linked, never moved: see FilesTable::startDrag.
    QListView::startDrag(supportedActions & (Qt::CopyAction | Qt::LinkAction));
}

void GridCollectionView::deselectAll()
{
    if (selectionModel())
        selectionModel()->clearSelection();
}

QItemSelectionModel::SelectionFlags GridCollectionView::selectionCommand(const QModelIndex& index,
                                                                         const QEvent* event) const
{
    // A click, with any modifier, selects exactly the item clicked.
    const QItemSelectionModel::SelectionFlags flags = QListView::selectionCommand(index, event);
    if (flags & (QItemSelectionModel::Toggle | QItemSelectionModel::Deselect))
        return QItemSelectionModel::ClearAndSelect;
    return flags;
}

bool GridCollectionView::event(QEvent* event)
{
    // Tab never reaches keyPressEvent: the focus chain takes it first.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            tabToApplications();
            return true;
        }
    }
    return QListView::event(event);
}

void GridCollectionView::tabToApplications()
{
    deselectAll();
    if (sharedAppsViewController)
        sharedAppsViewController->table()->setFocus(Qt::TabFocusReason);
}

void GridCollectionView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
        toggleQuickLook(this);
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (arrowKey(event->key()))
            return;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (const int item = selectedItem(); item >= 0)
            NotificationCenter::defaultCenter().post(NotificationName::clickedFileRow,
                                                     QVariant::fromValue<qlonglong>(item));
        return;
    case Qt::Key_Escape:
        MainWindowHelper::hideMainWindow();
        return;
    default:
        break;
    }
    const bool arrow = event->key() >= Qt::Key_Left && event->key() <= Qt::Key_Down;
    if (event->modifiers() & Qt::ShiftModifier) {
        // Shift never extends the selection here: the key acts as it does alone.
        QKeyEvent unshifted(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier,
                            event->nativeScanCode(), event->nativeVirtualKey(),
                            event->nativeModifiers(), event->text(), event->isAutoRepeat(),
                            event->count());
        QListView::keyPressEvent(&unshifted);
        event->setAccepted(unshifted.isAccepted());
    } else {
        QListView::keyPressEvent(event);
    }
    // The grid keeps its arrows, even where they lead nowhere.
    if (arrow)
        event->accept();
}

bool GridCollectionView::arrowKey(int key)
{
    const int count = model() ? model()->rowCount() : 0;
    const int item = selectedItem();
    if (item < 0) {
        if (count > 0)
            selectItem(0);
        return true;
    }
    if (key == Qt::Key_Right && item < count - 1) {
        selectItem(item + 1);
        return true;
    }
    if (key == Qt::Key_Left && item > 0) {
        selectItem(item - 1);
        return true;
    }
    if (key == Qt::Key_Left) {
        deselectAll();
        if (sharedAppsViewController)
            sharedAppsViewController->table()->setFocus(Qt::OtherFocusReason);
        closeQuickLook();
        return true;
    }
    // Right on the last item, Up and Down: the rows' own movement.
    return false;
}

bool GridCollectionView::hitsItemContent(const QPoint& pos) const
{
    const QModelIndex index = indexAt(pos);
    if (!index.isValid())
        return false;
    return GridItemLayout(visualRect(index), GridItem::titleOf(index)).hitsItemContent(pos);
}

void GridCollectionView::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::MetaModifier)) {
        openMenu(pos, event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    // The blank margin around an item is background: the click clears the selection.
    if (!hitsItemContent(pos)) {
        deselectAll();
        return;
    }
    QListView::mousePressEvent(event);
}

void GridCollectionView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    if (!hitsItemContent(pos)) {
        deselectAll();
        return;
    }
    // The second click of a double click can land on the next item, which its press never
    // selected: the item under the pointer is the one opened.
    if (const int under = indexAt(pos).row(); under >= 0 && under != selectedItem())
        selectItem(under);
    if (m_previewPanelOpen)
        return;
    const int item = selectedItem();
    NotificationCenter::defaultCenter().post(NotificationName::clickedFileRow,
                                             item >= 0 ? QVariant::fromValue<qlonglong>(item)
                                                       : QVariant());
}

void GridCollectionView::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const QRect item = visualRect(currentIndex());
        if (item.isValid() && selectedItem() >= 0)
            openMenu(item.center(), viewport()->mapToGlobal(item.center()));
        return;
    }
    openMenu(event->pos(), event->globalPos());
}

QMenu* GridCollectionView::contextMenu()
{
    if (!m_menu)
        m_menu = new FilesContextMenu(this);
    return m_menu;
}

QMenu* GridCollectionView::menuForEvent(const QPoint& pos)
{
    if (!hitsItemContent(pos)) {
        deselectAll();
        return nullptr;
    }
    selectItem(indexAt(pos).row());
    QMenu* menu = contextMenu();
    QuickLookMenuItem::tagItem(menu);
    return menu;
}

void GridCollectionView::willOpenMenu()
{
    const RecentFilesModel* files = filesModel();
    if (const RecentFile* file = files ? files->fileAt(selectedItem()) : nullptr)
        QuickLookMenuItem::retitle(contextMenu(), file->name());
}

void GridCollectionView::openMenu(const QPoint& pos, const QPoint& globalPos)
{
    QMenu* menu = menuForEvent(pos);
    if (!menu)
        return;
    willOpenMenu();
    menu->exec(globalPos);
}
