#pragma once

#include <QString>
#include <QUrl>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// Records the monitor's handler calls (URL and calling thread) and lets a test wait for one.
class HandlerRecorder
{
public:
    struct Call
    {
        QUrl url;
        std::thread::id thread;
    };

    // Generous, for a loaded two-core machine; waits end as soon as the call arrives.
    static constexpr std::chrono::seconds deadline{10};

    std::function<void(const QUrl&)> handler();
    void record(const QUrl& url);

    // Waits until a call for the path has arrived; false after the deadline.
    bool waitFor(const QString& path);
    // Waits until the path has had at least `count` calls.
    bool waitUntilCount(const QString& path, std::size_t count);
    // Waits until at least `count` calls have arrived in total.
    bool waitForCount(std::size_t count);
    std::size_t count(const QString& path) const;
    std::size_t total() const;
    std::vector<Call> calls() const;

private:
    bool waitUntil(const std::function<bool()>& done);
    std::size_t countLocked(const QString& path) const;

    mutable std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<Call> m_calls;
};
