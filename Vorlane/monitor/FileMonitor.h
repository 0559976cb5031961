#pragma once

#include "WatchedPath.h"
#include "WriteBursts.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class InotifyCalls;
class InotifyReader;

// Watches the files and folders every source names (RecentSources) and calls a handler for every
// change of one of their files: created, written, renamed (both names) or removed; the record
// folder and the desktop's shared recently-used.xbel, today. The handler runs on the monitor's
// own thread, never the caller's, once per event; it should only hand the news on (the store
// coalesces what follows). A file that its writer keeps open is reported while it is written,
// once per burst of writes (WriteBursts), and again when it is closed.
//
// Folders that do not exist yet are waited for, and watched again after being deleted and
// created anew. When a watched folder goes away the handler gets the folder's URL, and when the
// kernel drops events (its queue overflowed) the first watched path's (the record folder's):
// both mean "read everything again".
class FileMonitor
{
public:
    using Handler = std::function<void(const QUrl& fileUrl)>;

    FileMonitor();
    // For tests: kernel calls that fail or inject events on demand, and how writes are gathered.
    explicit FileMonitor(std::shared_ptr<InotifyCalls> calls, WriteBursts::Timing timing = {});
    // Stops the monitor; the handler is not running and is never called again afterwards.
    ~FileMonitor();
    FileMonitor(const FileMonitor&) = delete;
    FileMonitor& operator=(const FileMonitor&) = delete;

    // Watches what the sources name now, so that the environment in force at this call decides.
    // A running monitor is stopped first: there is never more than one reader. The URL is
    // accepted for the caller's convenience; the sources' paths are always the ones watched.
    // Throws FileMonitorError with the reason when inotify cannot be set up (no instance left,
    // watch limit reached, no permission). Must not be called from the handler.
    void start(const QUrl& url, Handler handler);
    // Stops a running monitor, as destruction does; does nothing otherwise.
    void stop();

    bool isRunning() const { return m_monitor != nullptr; }
    // The first watched path, the record folder, as an absolute, clean path once started.
    QString urlToMonitor() const { return m_urlToMonitor; }
    // Everything watched since start(), paths absolute and clean, in the sources' order.
    const QList<WatchedPath>& watchedPaths() const { return m_watchedPaths; }
    // Names the reader thread in diagnostics: "Vorlane.FileMonitor-" and a UUID.
    QString queueLabel() const { return m_queueLabel; }

private:
    QString m_urlToMonitor;
    QList<WatchedPath> m_watchedPaths;
    std::unique_ptr<InotifyReader> m_monitor;
    QString m_queueLabel;
    std::shared_ptr<InotifyCalls> m_calls;
    WriteBursts::Timing m_timing;
};
