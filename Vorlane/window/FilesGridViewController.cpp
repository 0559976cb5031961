#include "FilesGridViewController.h"

#include "FileActions.h"
#include "GridCollectionView.h"
#include "GridItem.h"
#include "GridItemLayout.h"
#include "PaddedScrollView.h"
#include "RecentFilesModel.h"
#include "SharedReferences.h"
#include "ui_FilesGridViewController.h"

FilesGridViewController::FilesGridViewController(QWidget* parent)
    : FilesCollectionViewController(RecentFilesModel::Layout::grid, parent)
    , ui(std::make_unique<Ui::FilesGridViewController>())
{
    ui->setupUi(this);
    viewDidLoad();
}

FilesGridViewController::~FilesGridViewController() = default;

GridCollectionView* FilesGridViewController::collectionView() const
{
    return ui->collectionView;
}

PaddedScrollView* FilesGridViewController::scrollView() const
{
    return ui->scrollView;
}

bool FilesGridViewController::movesThroughView(int key) const
{
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Down || key == Qt::Key_Up;
}

QString FilesGridViewController::previewEventName() const
{
    return QStringLiteral("quicklookInvoked_FromGrid");
}

QRect FilesGridViewController::pictureRect(const QModelIndex& index) const
{
    return GridItemLayout(ui->collectionView->visualRect(index), GridItem::titleOf(index))
        .thumbnailContainer();
}

void FilesGridViewController::viewDidLoad()
{
    GridCollectionView* grid = ui->collectionView;
    setFilesView(grid, 0, bottomInset);
    connect(grid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FilesGridViewController::selectionDidChange);
    reloadData();
}

void FilesGridViewController::updatePictureSizes()
{
    // Pictures are made with the pixels of the square they are shown in, no more.
    constexpr qreal square = GridItemLayout::thumbnailSize;
    model()->setPictureSizes(QSizeF(square, square), GridItemLayout::thumbnailSize,
                             devicePixelRatioF());
    ui->collectionView->fitPictureBoundsToView();
}

void FilesGridViewController::layOutBeforeRestoringPlace()
{
    ui->collectionView->doItemsLayout();
}

void FilesGridViewController::selectionDidChange(const QItemSelection& selected,
                                                 const QItemSelection& deselected)
{
    GridCollectionView* grid = ui->collectionView;
    for (const QModelIndex& index : deselected.indexes())
        showGridItemName(index.row());
    for (const QModelIndex& index : selected.indexes()) {
        grid->setPrevSelectionIndex(index.row());
        if (commandKeyHeld)
            showGridItemPath(index.row());
    }
    reloadQuickLook();
}

void FilesGridViewController::showGridItemPath(int item)
{
    model()->setPathShown(item, true);
}

void FilesGridViewController::showGridItemName(int item)
{
    model()->setPathShown(item, false);
}
