#include "DeferredTask.h"

#include <pthread.h>

DeferredTask::DeferredTask(std::chrono::milliseconds delay, std::function<void()> task)
    : m_delay(delay)
    , m_task(std::move(task))
{}

DeferredTask::~DeferredTask()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void DeferredTask::ask()
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_asked || m_stopping)
            return;
        m_asked = true;
        if (!m_thread.joinable()) {
            m_thread = std::thread([this] { run(); });
            pthread_setname_np(m_thread.native_handle(), "DeferredTask");
        }
    }
    m_wake.notify_all();
}

void DeferredTask::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_asked || m_stopping; });
        if (!m_asked)
            return;
        // What else is asked for meanwhile joins this run; stopping cuts the wait short.
        m_wake.wait_for(lock, m_delay, [this] { return m_stopping; });
        m_asked = false;
        lock.unlock();
        m_task();
        lock.lock();
    }
}
