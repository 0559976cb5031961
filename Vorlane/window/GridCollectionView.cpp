#include "GridCollectionView.h"

#include "AppsTableView.h"
#include "AppsTableViewController.h"
#include "FileActions.h"
#include "GridItem.h"
#include "GridItemLayout.h"
#include "ItemViewSelection.h"
#include "NotificationCenter.h"
#include "RecentFilesModel.h"
#include "SharedReferences.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>

GridCollectionView::GridCollectionView(QWidget* parent)
    : FilesCollectionView(parent)
    , m_item(new GridItem(this))
{
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setSpacing(0);
    // Static items turn dragging off; documents still drag out as their files.
    setDragEnabled(true);
    setItemDelegate(m_item);
    verticalScrollBar()->setSingleStep(24);
    updateGridSize();
}

void GridCollectionView::reset()
{
    QListView::reset();
    m_prevSelectionIndex = -1;
    m_item->keepFramedPicturesOf(filesModel());
}

void GridCollectionView::resizeEvent(QResizeEvent* event)
{
    updateGridSize();
    QListView::resizeEvent(event);
    fitPictureBoundsToView();
}

int GridCollectionView::itemsInThreeScreens() const
{
    const QSize cell = gridSize().isValid()
                           ? gridSize()
                           : QSize(GridItemLayout::itemWidth, GridItemLayout::itemHeight);
    const QSize view = viewport()->size();
    const int columns = std::max(1, view.width() / cell.width());
    // A row cut at each edge counts as a row in sight.
    const int rows = (view.height() + cell.height() - 1) / cell.height() + 1;
    return 3 * columns * rows;
}

void GridCollectionView::fitPictureBoundsToView()
{
    const qsizetype items = itemsInThreeScreens();
    m_item->setFramedKept(items, devicePixelRatioF());
    if (RecentFilesModel* files = filesModel())
        files->setPicturesKept(items);
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

void GridCollectionView::startDrag(Qt::DropActions supportedActions)
{
    // While Ctrl is held the item stands for its location, not for the document.
    if (commandKeyHeld)
        return;
    QListView::startDrag(allowedDragActions(supportedActions));
}

void GridCollectionView::deselectAll()
{
    clearSelectionOf(this);
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
    if (handleSharedKey(event))
        return;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (arrowKey(event->key()))
            return;
        break;
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

int GridCollectionView::fileRowAt(const QPoint& pos) const
{
    return hitsItemContent(pos) ? indexAt(pos).row() : -1;
}

void GridCollectionView::noFileAt(const QPoint&)
{
    deselectAll();
}

void GridCollectionView::mousePressEvent(QMouseEvent* event)
{
    if (handleSharedPress(event))
        return;
    // The blank margin around an item is background: the click clears the selection.
    if (!hitsItemContent(event->position().toPoint())) {
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
    if (isPreviewPanelOpen())
        return;
    const int item = selectedItem();
    NotificationCenter::defaultCenter().post(NotificationName::clickedFileRow,
                                             item >= 0 ? QVariant::fromValue<qlonglong>(item)
                                                       : QVariant());
}

void GridCollectionView::contextMenuEvent(QContextMenuEvent* event)
{
    // From the keyboard the menu needs a selected item.
    if (event->reason() == QContextMenuEvent::Keyboard && selectedItem() < 0)
        return;
    FilesCollectionView::contextMenuEvent(event);
}
