#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <memory>

// Starting applications, standing in for the workspace's "open the application at this path".
// Applications are desktop entries; nothing goes through a shell. Implementations may be called
// from any thread: documents are opened from a worker so the window never waits for a start.
class ApplicationLauncher
{
public:
    virtual ~ApplicationLauncher() = default;

    // Starts the application of the desktop entry at entryPath (or brings it forward, as the
    // application decides), with the given documents, if any. False when it cannot be started;
    // then error, when given, says why.
    virtual bool launch(const QString& entryPath, const QList<QUrl>& documents = {},
                        QString* error = nullptr) = 0;

    // The process-wide launcher: GIO, until replaced.
    static ApplicationLauncher& shared();
    static std::unique_ptr<ApplicationLauncher>
    replaceShared(std::unique_ptr<ApplicationLauncher> launcher);
};
