#pragma once

#include "RecentApp.h"

#include <QThreadPool>

#include <memory>

class QAbstractItemView;

// What happens to a document in the browsing window, in one place: it opens with the application
// that recorded it, shows in the file manager, or shows in the preview window. The shell installs
// the one instance at start-up; until then every action does nothing. Tests install their own.
// Main thread only.
class FileActions
{
public:
    FileActions();
    virtual ~FileActions();
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;

    // The installed actions; null until the shell installs them.
    static FileActions* installed();
    // Installs actions (null removes them) and hands back the ones they replace.
    static std::unique_ptr<FileActions> install(std::unique_ptr<FileActions> actions);

    // Opens the file that index names, or shows it in the file manager when reveal is true.
    // viewType "list" counts the list's rows, headings included; any other value file indices.
    // An index that names no file does nothing.
    virtual void openRecentFile(const RecentApp& app, qsizetype index, const QString& viewType,
                                bool reveal);
    // Opens the app's file at fileIndex with it, as the touch strip does: the window stays as it
    // is, whatever its mode.
    virtual void openRecentFileKeepingWindow(const RecentApp& app, qsizetype fileIndex);
    // The view's selected file in the preview window, which follows the view's selection from
    // then on. With nothing selected the preview closes.
    virtual void showQuickLook(QAbstractItemView* view);
    virtual void closeQuickLook();
    // The selection moved: an open preview shows the new one.
    virtual void reloadQuickLook();
    virtual bool isQuickLookOpen() const;

protected:
    // Starts the application with the one document without waiting for it; the outcome is
    // written to standard output when it is known.
    virtual void openFile(const QUrl& fileUrl, const QString& sourceApp);
    virtual void revealFile(const QString& path);

private:
    void launchInBackground(const QUrl& fileUrl, const QString& sourceApp);
    static void hideWindowInAutoHideMode();
    static void reportLaunch(bool opened, const QString& error);

    // Launches run here, one after the other: starting an application can take a while (a
    // D-Bus activated one is waited for) and the window never waits for it.
    std::unique_ptr<QThreadPool> m_launches;
};

// The calls the views make; each does nothing while no actions are installed.
void openRecentFile(const RecentApp& app, qsizetype index, const QString& viewType, bool reveal);
void openRecentFileKeepingWindow(const RecentApp& app, qsizetype fileIndex);
void showQuickLook(QAbstractItemView* view);
// Space: closes an open preview, else shows the view's selection.
void toggleQuickLook(QAbstractItemView* view);
void closeQuickLook();
void reloadQuickLook();
