#include "FilesCollectionViewController.h"

#include "FilesCollectionView.h"
#include "PreviewPanel.h"
#include "TelemetryClient.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QScrollBar>

FilesCollectionViewController::FilesCollectionViewController(RecentFilesModel::Layout layout,
                                                             QWidget* parent)
    : QWidget(parent)
    , m_model(new RecentFilesModel(layout, this))
{}

FilesCollectionViewController::~FilesCollectionViewController()
{
    PreviewPanel::controllerWillGoAway(this);
}

void FilesCollectionViewController::setFilesView(FilesCollectionView* view, int topInset,
                                                 int bottomInset)
{
    m_view = view;
    view->setModel(m_model);
    view->setContentInsets(topInset, bottomInset);
}

bool FilesCollectionViewController::isPreviewPanelOpen() const
{
    return m_view->isPreviewPanelOpen();
}

void FilesCollectionViewController::setPreviewPanelOpen(bool open)
{
    m_view->setPreviewPanelOpen(open);
}

bool FilesCollectionViewController::acceptsPreviewPanelControl(PreviewPanel*)
{
    return true;
}

void FilesCollectionViewController::beginPreviewPanelControl(PreviewPanel* panel)
{
    setPreviewPanelOpen(true);
    panel->setDelegate(this);
    panel->setDataSource(this);
    TelemetryClient::shared().trackEvent(previewEventName());
}

void FilesCollectionViewController::endPreviewPanelControl(PreviewPanel* panel)
{
    setPreviewPanelOpen(false);
    panel->setDataSource(nullptr);
    panel->setDelegate(nullptr);
}

int FilesCollectionViewController::numberOfPreviewItems(PreviewPanel*)
{
    return m_view->selectedRow() >= 0 ? 1 : 0;
}

QUrl FilesCollectionViewController::previewItemAt(PreviewPanel*, int)
{
    const RecentFile* file = m_model->fileAt(m_view->selectedRow());
    return file ? file->filePath() : QUrl();
}

bool FilesCollectionViewController::handleEvent(PreviewPanel*, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    // Space closes the preview again.
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Space && !movesThroughView(key))
        return false;
    QCoreApplication::sendEvent(m_view, event);
    return true;
}

QRect FilesCollectionViewController::sourceFrameOnScreen(PreviewPanel*, const QUrl&)
{
    const int row = m_view->selectedRow();
    if (row < 0)
        return {};
    const QRect picture = pictureRect(m_model->index(row, 0));
    return {m_view->viewport()->mapToGlobal(picture.topLeft()), picture.size()};
}

QPixmap FilesCollectionViewController::transitionImage(PreviewPanel*, const QUrl&)
{
    const int row = m_view->selectedRow();
    if (row < 0)
        return {};
    return m_model->index(row, 0).data(Qt::DecorationRole).value<QPixmap>();
}

bool FilesCollectionViewController::event(QEvent* event)
{
    // Pictures are made for the pixel density of the screen the window is on, known once it is
    // shown; on a screen of another density they are asked again, at its size.
    if (event->type() == QEvent::Show || event->type() == QEvent::ScreenChangeInternal)
        updatePictureSizes();
    return QWidget::event(event);
}

void FilesCollectionViewController::reloadData()
{
    // A refresh of the same application keeps the document the user is on, and the place.
    const QString previousApp = m_model->app() ? m_model->app()->name() : QString();
    const RecentFile* previousFile = m_model->fileAt(m_view->selectedRow());
    const QUrl selectedUrl = previousFile ? previousFile->filePath() : QUrl();
    const int scrolled = m_view->verticalScrollBar()->value();
    updatePictureSizes();
    m_model->reload();
    if (!m_model->app() || m_model->app()->name() != previousApp) {
        m_view->scrollToTop();
        return;
    }
    layOutBeforeRestoringPlace();
    m_view->verticalScrollBar()->setValue(scrolled);
    if (const int row = m_model->rowOfFile(selectedUrl); row >= 0 && !selectedUrl.isEmpty())
        m_view->selectRow(row, QAbstractItemView::EnsureVisible);
}
