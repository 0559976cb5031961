#pragma once

#include "FileManagerService.h"

#include <QObject>
#include <QThreadPool>

#include <memory>

class QDBusError;

// Shows documents through org.freedesktop.FileManager1.ShowItems on the session bus, which the
// usual file managers own or are started for. When no file manager is there to answer, the
// document's folder opens with the desktop's default handler for folders (GIO), without the
// document selected.
class FreedesktopFileManager : public QObject, public FileManagerService
{
    Q_OBJECT

public:
    static const QString serviceName;
    static const QString objectPath;
    static const QString interfaceName;

    FreedesktopFileManager();
    ~FreedesktopFileManager() override;

    void selectFile(const QString& path) override;

    // Whether a failed call means that no file manager owns the name or could be started for it;
    // other failures (a file manager that was slow to answer) may still have shown the document.
    static bool meansNoFileManager(const QDBusError& error);
    // The startup identifier passed on: on X11 it carries the server's time, so the file
    // manager's window may take the focus; empty elsewhere.
    static QString startupId();

private:
    void openFolderOf(const QString& path);

    // Opening a folder may read the desktop's handler database: never on the main thread.
    std::unique_ptr<QThreadPool> m_folderOpener;
};
