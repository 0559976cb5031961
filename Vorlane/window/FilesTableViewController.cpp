#include "FilesTableViewController.h"

#include "FileActions.h"
#include "FilesTable.h"
#include "FilesTableCell.h"
#include "PaddedScrollView.h"
#include "RecentFilesModel.h"
#include "Selection.h"
#include "SharedReferences.h"
#include "ui_FilesTableView.h"

FilesTableViewController::FilesTableViewController(QWidget* parent)
    : FilesCollectionViewController(RecentFilesModel::Layout::list, parent)
    , ui(std::make_unique<Ui::FilesTableViewController>())
{
    ui->setupUi(this);
    viewDidLoad();
}

FilesTableViewController::~FilesTableViewController() = default;

FilesTable* FilesTableViewController::filesTable() const
{
    return ui->filesTable;
}

PaddedScrollView* FilesTableViewController::filesScrollView() const
{
    return ui->filesScrollView;
}

bool FilesTableViewController::movesThroughView(int key) const
{
    return key == Qt::Key_Left || key == Qt::Key_Down || key == Qt::Key_Up;
}

QString FilesTableViewController::previewEventName() const
{
    return QStringLiteral("quicklookInvoked_FromTable");
}

QRect FilesTableViewController::pictureRect(const QModelIndex& index) const
{
    return FilesTableCell::iconRect(ui->filesTable->visualRect(index));
}

void FilesTableViewController::viewDidLoad()
{
    FilesTable* table = ui->filesTable;
    table->setItemDelegate(new FilesTableCell(table));
    setFilesView(table, topInset, bottomInset);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FilesTableViewController::tableViewSelectionDidChange);
    reloadData();
}

void FilesTableViewController::updatePictureSizes()
{
    model()->setPictureSizes(
        QSizeF(FilesTableCell::thumbnailRequestSize, FilesTableCell::thumbnailRequestSize),
        FilesTableCell::iconSize, devicePixelRatioF());
}

void FilesTableViewController::tableViewSelectionDidChange()
{
    // The row that loses the selection shows its name again.
    if (selectedFileIndex >= 0 && !model()->isHeading(static_cast<int>(selectedFileIndex)))
        showFileName(static_cast<int>(selectedFileIndex));
    if (const int row = ui->filesTable->selectedRow(); row >= 0 && !model()->isHeading(row)) {
        refreshSelectedRow(row);
        selectedFileIndex = row;
    }
    reloadQuickLook();
}

void FilesTableViewController::refreshSelectedRow(int row)
{
    if (model()->isHeading(row))
        return;
    if (commandKeyHeld)
        showFilePath(row);
    else
        showFileName(row);
}

void FilesTableViewController::showFileName(int row)
{
    model()->setPathShown(row, false);
}

void FilesTableViewController::showFilePath(int row)
{
    model()->setPathShown(row, true);
}
