#include "FileActions.h"

#include "ApplicationLauncher.h"
#include "CombinedRows.h"
#include "Diagnostics.h"
#include "FileManagerService.h"
#include "MainWindowHelper.h"
#include "PreviewPanel.h"
#include "TelemetryClient.h"
#include "UserDefaults.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(vorlaneActions, "vorlane.actions", QtWarningMsg)

namespace {
std::unique_ptr<FileActions>& installedActions()
{
    static std::unique_ptr<FileActions> actions;
    return actions;
}

// The list counts its date headings as rows; the grid and everything else counts files.
const RecentFile* fileNamedBy(const RecentApp& app, qsizetype index, const QString& viewType)
{
    const qsizetype file =
        viewType == u"list" ? CombinedRows::fileIndexForRow(app.groupCells(), index) : index;
    if (file < 0 || file >= app.recentFiles().size())
        return nullptr;
    return &app.recentFiles().at(file);
}
} // namespace

FileActions::FileActions()
    : m_launches(std::make_unique<QThreadPool>())
{
    m_launches->setMaxThreadCount(1);
}

FileActions::~FileActions()
{
    m_launches->waitForDone();
}

FileActions* FileActions::installed()
{
    return installedActions().get();
}

std::unique_ptr<FileActions> FileActions::install(std::unique_ptr<FileActions> actions)
{
    return std::exchange(installedActions(), std::move(actions));
}

void FileActions::openRecentFile(const RecentApp& app, qsizetype index, const QString& viewType,
                                 bool reveal)
{
    const RecentFile* file = fileNamedBy(app, index, viewType);
    // Documents are opened and shown by their path: a location without one is neither.
    const QString path =
        file && file->filePath().isLocalFile() ? file->filePath().toLocalFile() : QString();
    if (path.isEmpty())
        return;
    if (reveal)
        revealFile(path);
    else
        openFile(QUrl::fromLocalFile(path), app.sourceApp());
}

void FileActions::openRecentFileKeepingWindow(const RecentApp& app, qsizetype fileIndex)
{
    const RecentFile* file = fileNamedBy(app, fileIndex, QStringLiteral("grid"));
    if (file && file->filePath().isLocalFile())
        launchInBackground(QUrl::fromLocalFile(file->filePath().toLocalFile()), app.sourceApp());
}

void FileActions::openFile(const QUrl& fileUrl, const QString& sourceApp)
{
    launchInBackground(fileUrl, sourceApp);
    hideWindowInAutoHideMode();
}

void FileActions::launchInBackground(const QUrl& fileUrl, const QString& sourceApp)
{
    ApplicationLauncher* launcher = &ApplicationLauncher::shared();
    QElapsedTimer asked;
    asked.start();
    // Exactly this document with exactly the application whose record it came from, not the
    // desktop's default application for its type.
    m_launches->start([launcher, fileUrl, sourceApp, asked] {
        qCDebug(vorlaneActions, "launch request sent after %lld ms", asked.elapsed());
        QString error;
        const bool opened = launcher->launch(sourceApp, {fileUrl}, &error);
        qCDebug(vorlaneActions, "launch answered after %lld ms", asked.elapsed());
        QMetaObject::invokeMethod(
            qApp, [opened, error] { reportLaunch(opened, error); }, Qt::QueuedConnection);
    });
}

void FileActions::reportLaunch(bool opened, const QString& error)
{
    if (!opened) {
        Diagnostics::write(QStringLiteral("Error opening file: ") + error);
        return;
    }
    Diagnostics::write(QStringLiteral("File opened successfully."));
    TelemetryClient::shared().trackEvent(QStringLiteral("fileOpenedInApp"));
}

void FileActions::revealFile(const QString& path)
{
    FileManagerService::shared().selectFile(path);
    TelemetryClient::shared().trackEvent(QStringLiteral("fileOpenedInFinder"));
    hideWindowInAutoHideMode();
}

void FileActions::hideWindowInAutoHideMode()
{
    if (UserDefaults::standard().boolForKey(QStringLiteral("AutoHideWindow")))
        MainWindowHelper::hideMainWindow();
}

void FileActions::showQuickLook(QAbstractItemView* view)
{
    const bool hasSelection =
        view && view->selectionModel() && view->selectionModel()->hasSelection();
    if (!hasSelection) {
        closeQuickLook();
        return;
    }
    PreviewPanel* panel = PreviewPanel::sharedPreviewPanel();
    if (!panel)
        return;
    // The view's controller takes the panel over (from the other view's, if that had it).
    panel->orderFront(view);
    if (panel->currentController())
        panel->reloadData();
}

void FileActions::closeQuickLook()
{
    if (PreviewPanel::sharedPreviewPanelExists())
        PreviewPanel::sharedPreviewPanel()->close();
}

void FileActions::reloadQuickLook()
{
    if (!PreviewPanel::sharedPreviewPanelExists())
        return;
    PreviewPanel* panel = PreviewPanel::sharedPreviewPanel();
    if (panel->currentController())
        panel->reloadData();
}

bool FileActions::isQuickLookOpen() const
{
    return PreviewPanel::sharedPreviewPanelExists() &&
           PreviewPanel::sharedPreviewPanel()->isVisible();
}

void openRecentFile(const RecentApp& app, qsizetype index, const QString& viewType, bool reveal)
{
    if (FileActions* actions = FileActions::installed())
        actions->openRecentFile(app, index, viewType, reveal);
}

void openRecentFileKeepingWindow(const RecentApp& app, qsizetype fileIndex)
{
    if (FileActions* actions = FileActions::installed())
        actions->openRecentFileKeepingWindow(app, fileIndex);
}

void showQuickLook(QAbstractItemView* view)
{
    if (FileActions* actions = FileActions::installed())
        actions->showQuickLook(view);
}

void toggleQuickLook(QAbstractItemView* view)
{
    FileActions* actions = FileActions::installed();
    if (!actions)
        return;
    if (actions->isQuickLookOpen())
        actions->closeQuickLook();
    else
        actions->showQuickLook(view);
}

void closeQuickLook()
{
    if (FileActions* actions = FileActions::installed())
        actions->closeQuickLook();
}

void reloadQuickLook()
{
    if (FileActions* actions = FileActions::installed())
        actions->reloadQuickLook();
}
