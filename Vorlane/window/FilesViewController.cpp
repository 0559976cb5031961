#include "FilesViewController.h"

#include "AppsTableView.h"
#include "AppsTableViewController.h"
#include "FilesGridViewController.h"
#include "FilesTable.h"
#include "FilesTableViewController.h"
#include "FilesViewType.h"
#include "GridCollectionView.h"
#include "PinToEdges.h"
#include "RecentFilesModel.h"
#include "Selection.h"
#include "SharedReferences.h"
#include "ui_FilesViewController.h"

FilesViewController::FilesViewController(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::FilesViewController>())
{
    ui->setupUi(this);
    viewDidLoad();
}

FilesViewController::~FilesViewController() = default;

void FilesViewController::viewDidLoad()
{
    if (FilesViewType::stored() == FilesViewType::Kind::grid)
        showGridView();
    else
        showListView();
}

void FilesViewController::showGridView()
{
    FilesViewType::store(FilesViewType::Kind::grid);
    // The grid is already there: choosing it again changes nothing.
    if (m_filesGridViewController)
        return;
    const int row =
        m_filesTableViewController ? m_filesTableViewController->filesTable()->selectedRow() : -1;
    const qsizetype item =
        row >= 0 ? m_filesTableViewController->model()->fileIndexForRow(row) : -1;
    auto* grid = new FilesGridViewController;
    replaceChild(grid);
    m_filesGridViewController = grid;
    m_gridView = grid->collectionView();
    if (item < 0) {
        focusApplications();
        return;
    }
    GridCollectionView* collectionView = grid->collectionView();
    if (item < grid->model()->rowCount())
        collectionView->selectItem(static_cast<int>(item), QAbstractItemView::PositionAtTop);
    collectionView->setFocus(Qt::OtherFocusReason);
}

void FilesViewController::showListView()
{
    FilesViewType::store(FilesViewType::Kind::list);
    if (m_filesTableViewController)
        return;
    const int item = m_filesGridViewController
                         ? m_filesGridViewController->collectionView()->selectedItem()
                         : -1;
    auto* list = new FilesTableViewController;
    replaceChild(list);
    m_filesTableViewController = list;
    m_listView = list->filesTable();
    if (item < 0) {
        focusApplications();
        return;
    }
    const int row = list->model()->rowForFileIndex(item);
    FilesTable* table = list->filesTable();
    table->setFocus(Qt::OtherFocusReason);
    table->selectRow(row);
    selectedFileIndex = row;
}

void FilesViewController::focusApplications()
{
    if (sharedAppsViewController)
        sharedAppsViewController->table()->setFocus(Qt::OtherFocusReason);
}

void FilesViewController::setListView(QAbstractItemView* view)
{
    replaceChild(view);
    m_listView = view;
}

void FilesViewController::setGridView(QAbstractItemView* view, qsizetype prevSelectionIndex)
{
    replaceChild(view);
    m_gridView = view;
    m_prevSelectionIndex = prevSelectionIndex;
}

void FilesViewController::replaceChild(QWidget* child)
{
    // The old side may be the one whose event brought us here: it goes once that is over.
    if (m_child) {
        m_child->hide();
        m_child->deleteLater();
    }
    m_child = child;
    m_filesTableViewController = nullptr;
    m_filesGridViewController = nullptr;
    m_listView = nullptr;
    m_gridView = nullptr;
    m_prevSelectionIndex = -1;
    if (!child)
        return;
    pinToEdges(child, this, {0, 0, 0, 0});
    child->show();
}

qsizetype FilesViewController::prevSelectionIndex() const
{
    if (m_filesGridViewController)
        return m_filesGridViewController->collectionView()->prevSelectionIndex();
    return m_prevSelectionIndex;
}

void FilesViewController::reloadFilesTable()
{
    if (m_filesTableViewController)
        m_filesTableViewController->reloadData();
}

void FilesViewController::reloadFilesGrid()
{
    if (m_filesGridViewController)
        m_filesGridViewController->reloadData();
}

void FilesViewController::refreshForCommandKey()
{
    if (m_filesTableViewController) {
        if (const int row = m_filesTableViewController->filesTable()->selectedRow(); row >= 0)
            m_filesTableViewController->refreshSelectedRow(row);
    }
    if (m_filesGridViewController) {
        if (const int item = m_filesGridViewController->collectionView()->selectedItem();
            item >= 0) {
            if (commandKeyHeld)
                m_filesGridViewController->showGridItemPath(item);
            else
                m_filesGridViewController->showGridItemName(item);
        }
    }
}

bool FilesViewController::isPreviewPanelOpen() const
{
    if (m_filesTableViewController)
        return m_filesTableViewController->isPreviewPanelOpen();
    if (m_filesGridViewController)
        return m_filesGridViewController->isPreviewPanelOpen();
    return false;
}
