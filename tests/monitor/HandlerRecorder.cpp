#include "HandlerRecorder.h"

std::function<void(const QUrl&)> HandlerRecorder::handler()
{
    return [this](const QUrl& url) { record(url); };
}

void HandlerRecorder::record(const QUrl& url)
{
    {
        const std::lock_guard lock(m_mutex);
        m_calls.push_back({url, std::this_thread::get_id()});
    }
    m_arrived.notify_all();
}

bool HandlerRecorder::waitFor(const QString& path)
{
    return waitUntil([&] { return countLocked(path) > 0; });
}

bool HandlerRecorder::waitUntilCount(const QString& path, std::size_t count)
{
    return waitUntil([&] { return countLocked(path) >= count; });
}

bool HandlerRecorder::waitForCount(std::size_t count)
{
    return waitUntil([&] { return m_calls.size() >= count; });
}

std::size_t HandlerRecorder::count(const QString& path) const
{
    const std::lock_guard lock(m_mutex);
    return countLocked(path);
}

std::size_t HandlerRecorder::total() const
{
    const std::lock_guard lock(m_mutex);
    return m_calls.size();
}

std::vector<HandlerRecorder::Call> HandlerRecorder::calls() const
{
    const std::lock_guard lock(m_mutex);
    return m_calls;
}

bool HandlerRecorder::waitUntil(const std::function<bool()>& done)
{
    std::unique_lock lock(m_mutex);
    return m_arrived.wait_for(lock, deadline, done);
}

std::size_t HandlerRecorder::countLocked(const QString& path) const
{
    std::size_t found = 0;
    for (const Call& call : m_calls) {
        if (call.url.toLocalFile() == path)
            ++found;
    }
    return found;
}
