#include "FilesTableViewController.h"

#include "FileActions.h"
#include "FilesTable.h"
#include "FilesTableCell.h"
#include "PaddedScrollView.h"
#include "PreviewPanel.h"
#include "RecentFilesModel.h"
#include "Selection.h"
#include "SharedReferences.h"
#include "TelemetryClient.h"
#include "ui_FilesTableView.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QScrollBar>

#include <algorithm>
#include <iterator>

FilesTableViewController::FilesTableViewController(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::FilesTableViewController>())
    , m_model(new RecentFilesModel(RecentFilesModel::Layout::list, this))
{
    ui->setupUi(this);
    viewDidLoad();
}

FilesTableViewController::~FilesTableViewController()
{
    PreviewPanel::controllerWillGoAway(this);
}

FilesTable* FilesTableViewController::filesTable() const
{
    return ui->filesTable;
}

PaddedScrollView* FilesTableViewController::filesScrollView() const
{
    return ui->filesScrollView;
}

bool FilesTableViewController::isPreviewPanelOpen() const
{
    return ui->filesTable->isPreviewPanelOpen();
}

void FilesTableViewController::setPreviewPanelOpen(bool open)
{
    ui->filesTable->setPreviewPanelOpen(open);
}

bool FilesTableViewController::acceptsPreviewPanelControl(PreviewPanel*)
{
    return true;
}

void FilesTableViewController::beginPreviewPanelControl(PreviewPanel* panel)
{
    setPreviewPanelOpen(true);
    panel->setDelegate(this);
    panel->setDataSource(this);
    TelemetryClient::shared().trackEvent(QStringLiteral("quicklookInvoked_FromTable"));
}

void FilesTableViewController::endPreviewPanelControl(PreviewPanel* panel)
{
    setPreviewPanelOpen(false);
    panel->setDataSource(nullptr);
    panel->setDelegate(nullptr);
}

int FilesTableViewController::numberOfPreviewItems(PreviewPanel*)
{
    return ui->filesTable->selectedRow() >= 0 ? 1 : 0;
}

QUrl FilesTableViewController::previewItemAt(PreviewPanel*, int)
{
    const RecentFile* file = m_model->fileAt(ui->filesTable->selectedRow());
    return file ? file->filePath() : QUrl();
}

bool FilesTableViewController::handleEvent(PreviewPanel*, QEvent* event)
{
    // The keys that move through the list, and Space, which closes the preview again.
    static constexpr int listKeys[] = {Qt::Key_Left, Qt::Key_Down, Qt::Key_Up, Qt::Key_Space};
    if (event->type() != QEvent::KeyPress ||
        std::find(std::begin(listKeys), std::end(listKeys),
                  static_cast<QKeyEvent*>(event)->key()) == std::end(listKeys))
        return false;
    QCoreApplication::sendEvent(ui->filesTable, event);
    return true;
}

QRect FilesTableViewController::sourceFrameOnScreen(PreviewPanel*, const QUrl&)
{
    FilesTable* table = ui->filesTable;
    const int row = table->selectedRow();
    if (row < 0)
        return {};
    const QRect icon = FilesTableCell::iconRect(table->visualRect(m_model->index(row, 0)));
    return {table->viewport()->mapToGlobal(icon.topLeft()), icon.size()};
}

QPixmap FilesTableViewController::transitionImage(PreviewPanel*, const QUrl&)
{
    const int row = ui->filesTable->selectedRow();
    if (row < 0)
        return {};
    return m_model->index(row, 0).data(Qt::DecorationRole).value<QPixmap>();
}

void FilesTableViewController::viewDidLoad()
{
    FilesTable* table = ui->filesTable;
    table->setItemDelegate(new FilesTableCell(table));
    table->setModel(m_model);
    table->setContentInsets(topInset, bottomInset);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FilesTableViewController::tableViewSelectionDidChange);
    reloadData();
}

bool FilesTableViewController::event(QEvent* event)
{
    // Pictures are made for the pixel density of the screen the window is on, known once it is
    // shown; on a screen of another density they are asked again, at its size.
    if (event->type() == QEvent::Show || event->type() == QEvent::ScreenChangeInternal)
        updatePictureSizes();
    return QWidget::event(event);
}

void FilesTableViewController::updatePictureSizes()
{
    m_model->setPictureSizes(
        QSizeF(FilesTableCell::thumbnailRequestSize, FilesTableCell::thumbnailRequestSize),
        FilesTableCell::iconSize, devicePixelRatioF());
}

void FilesTableViewController::reloadData()
{
    FilesTable* table = ui->filesTable;
    // A refresh of the same application keeps the document the user is on, and the place.
    const QString previousApp = m_model->app() ? m_model->app()->name() : QString();
    const RecentFile* previousFile = m_model->fileAt(table->selectedRow());
    const QUrl selectedUrl = previousFile ? previousFile->filePath() : QUrl();
    const int scrolled = table->verticalScrollBar()->value();
    updatePictureSizes();
    m_model->reload();
    const bool sameApp = m_model->app() && m_model->app()->name() == previousApp;
    if (!sameApp) {
        table->scrollToTop();
        return;
    }
    table->verticalScrollBar()->setValue(scrolled);
    if (const int row = m_model->rowOfFile(selectedUrl); row >= 0 && !selectedUrl.isEmpty())
        table->selectRow(row, QAbstractItemView::EnsureVisible);
}

void FilesTableViewController::tableViewSelectionDidChange()
{
    FilesTable* table = ui->filesTable;
    // The row that loses the selection shows its name again.
    if (selectedFileIndex >= 0 && !m_model->isHeading(static_cast<int>(selectedFileIndex)))
        showFileName(static_cast<int>(selectedFileIndex));
    if (const int row = table->selectedRow(); row >= 0 && !m_model->isHeading(row)) {
        refreshSelectedRow(row);
        selectedFileIndex = row;
    }
    reloadQuickLook();
}

void FilesTableViewController::refreshSelectedRow(int row)
{
    if (m_model->isHeading(row))
        return;
    if (commandKeyHeld)
        showFilePath(row);
    else
        showFileName(row);
}

void FilesTableViewController::showFileName(int row)
{
    m_model->setPathShown(row, false);
}

void FilesTableViewController::showFilePath(int row)
{
    m_model->setPathShown(row, true);
}
