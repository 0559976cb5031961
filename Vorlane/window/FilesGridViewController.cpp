#include "FilesGridViewController.h"

#include "FileActions.h"
#include "GridCollectionView.h"
#include "GridItem.h"
#include "GridItemLayout.h"
#include "PaddedScrollView.h"
#include "PreviewPanel.h"
#include "RecentFilesModel.h"
#include "SharedReferences.h"
#include "TelemetryClient.h"
#include "ui_FilesGridViewController.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QScrollBar>

#include <algorithm>
#include <iterator>

FilesGridViewController::FilesGridViewController(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::FilesGridViewController>())
    , m_model(new RecentFilesModel(RecentFilesModel::Layout::grid, this))
{
    ui->setupUi(this);
    viewDidLoad();
}

FilesGridViewController::~FilesGridViewController()
{
    PreviewPanel::controllerWillGoAway(this);
}

GridCollectionView* FilesGridViewController::collectionView() const
{
    return ui->collectionView;
}

PaddedScrollView* FilesGridViewController::scrollView() const
{
    return ui->scrollView;
}

bool FilesGridViewController::isPreviewPanelOpen() const
{
    return ui->collectionView->isPreviewPanelOpen();
}

void FilesGridViewController::setPreviewPanelOpen(bool open)
{
    ui->collectionView->setPreviewPanelOpen(open);
}

bool FilesGridViewController::acceptsPreviewPanelControl(PreviewPanel*)
{
    return true;
}

void FilesGridViewController::beginPreviewPanelControl(PreviewPanel* panel)
{
    setPreviewPanelOpen(true);
    panel->setDelegate(this);
    panel->setDataSource(this);
    TelemetryClient::shared().trackEvent(QStringLiteral("quicklookInvoked_FromGrid"));
}

void FilesGridViewController::endPreviewPanelControl(PreviewPanel* panel)
{
    setPreviewPanelOpen(false);
    panel->setDataSource(nullptr);
    panel->setDelegate(nullptr);
}

int FilesGridViewController::numberOfPreviewItems(PreviewPanel*)
{
    return ui->collectionView->selectedItem() >= 0 ? 1 : 0;
}

QUrl FilesGridViewController::previewItemAt(PreviewPanel*, int)
{
    const RecentFile* file = m_model->fileAt(ui->collectionView->selectedItem());
    return file ? file->filePath() : QUrl();
}

bool FilesGridViewController::handleEvent(PreviewPanel*, QEvent* event)
{
    // The four arrows move through the grid; Space closes the preview again.
    static constexpr int gridKeys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Down, Qt::Key_Up,
                                       Qt::Key_Space};
    if (event->type() != QEvent::KeyPress ||
        std::find(std::begin(gridKeys), std::end(gridKeys),
                  static_cast<QKeyEvent*>(event)->key()) == std::end(gridKeys))
        return false;
    QCoreApplication::sendEvent(ui->collectionView, event);
    return true;
}

QRect FilesGridViewController::sourceFrameOnScreen(PreviewPanel*, const QUrl&)
{
    GridCollectionView* grid = ui->collectionView;
    const int item = grid->selectedItem();
    if (item < 0)
        return {};
    const QModelIndex index = m_model->index(item, 0);
    const QRect square =
        GridItemLayout(grid->visualRect(index), GridItem::titleOf(index)).thumbnailContainer();
    return {grid->viewport()->mapToGlobal(square.topLeft()), square.size()};
}

QPixmap FilesGridViewController::transitionImage(PreviewPanel*, const QUrl&)
{
    const int item = ui->collectionView->selectedItem();
    if (item < 0)
        return {};
    return m_model->index(item, 0).data(Qt::DecorationRole).value<QPixmap>();
}

void FilesGridViewController::viewDidLoad()
{
    GridCollectionView* grid = ui->collectionView;
    grid->setModel(m_model);
    grid->setContentInsets(0, bottomInset);
    connect(grid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FilesGridViewController::selectionDidChange);
    reloadData();
}

bool FilesGridViewController::event(QEvent* event)
{
    // Pictures are made for the pixel density of the screen the window is on, known once it is
    // shown; on a screen of another density they are asked again, at its size.
    if (event->type() == QEvent::Show || event->type() == QEvent::ScreenChangeInternal)
        updatePictureSizes();
    return QWidget::event(event);
}

void FilesGridViewController::updatePictureSizes()
{
    // Pictures are made with the pixels of the square they are shown in, no more.
    constexpr qreal square = GridItemLayout::thumbnailSize;
    m_model->setPictureSizes(QSizeF(square, square), GridItemLayout::thumbnailSize,
                             devicePixelRatioF());
}

void FilesGridViewController::reloadData()
{
    GridCollectionView* grid = ui->collectionView;
    // A refresh of the same application keeps the document the user is on, and the place.
    const QString previousApp = m_model->app() ? m_model->app()->name() : QString();
    const RecentFile* previousFile = m_model->fileAt(grid->selectedItem());
    const QUrl selectedUrl = previousFile ? previousFile->filePath() : QUrl();
    const int scrolled = grid->verticalScrollBar()->value();
    updatePictureSizes();
    m_model->reload();
    if (!m_model->app() || m_model->app()->name() != previousApp) {
        grid->scrollToTop();
        return;
    }
    // The items are laid out later; the place is restored once they are.
    grid->doItemsLayout();
    grid->verticalScrollBar()->setValue(scrolled);
    if (const int item = m_model->rowOfFile(selectedUrl); item >= 0 && !selectedUrl.isEmpty())
        grid->selectItem(item, QAbstractItemView::EnsureVisible);
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
    m_model->setPathShown(item, true);
}

void FilesGridViewController::showGridItemName(int item)
{
    m_model->setPathShown(item, false);
}
