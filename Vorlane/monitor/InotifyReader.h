#pragma once

#include "ScopedDescriptor.h"
#include "WatchedFolders.h"
#include "WriteBursts.h"

#include <QUrl>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class InotifyCalls;

// One inotify instance and the thread that reads it. The thread sleeps in poll() on the inotify
// descriptor and an eventfd; stop() writes the eventfd, so stopping is immediate. Only while a
// record is being written in place does a time limit wake the thread: to report the record once
// its writer pauses (WriteBursts).
class InotifyReader
{
public:
    using Handler = std::function<void(const QUrl&)>;

    // Opens the instance and arms the watches; throws FileMonitorError when either fails.
    // Nothing is read, and the handler never called, before start().
    InotifyReader(std::shared_ptr<InotifyCalls> calls, QList<WatchedPath> targets, Handler handler,
                  WriteBursts::Timing timing = {});
    // Stops the thread and waits for it: the handler is not running, and will not be called,
    // once this returns.
    ~InotifyReader();
    InotifyReader(const InotifyReader&) = delete;
    InotifyReader& operator=(const InotifyReader&) = delete;

    void start();
    bool isReaderThread() const;

private:
    void run();
    int pollTimeout() const;
    bool readOnce();
    void deliver(const std::vector<QUrl>& changed);

    std::shared_ptr<InotifyCalls> m_calls;
    ScopedDescriptor m_inotify;
    ScopedDescriptor m_wake;
    std::unique_ptr<WatchedFolders> m_folders;
    WriteBursts m_bursts;
    Handler m_handler;
    std::vector<char> m_buffer;
    std::atomic<bool> m_stopping = false;
    std::thread m_thread;
};
