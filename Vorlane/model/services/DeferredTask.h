#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Runs a task on a thread of its own a moment after it is asked for, so that a burst of asks is
// served by one run. Asks that come while the task runs are served by the next run. The thread
// starts with the first ask; destruction runs a task still asked for, then stops the thread.
class DeferredTask
{
public:
    DeferredTask(std::chrono::milliseconds delay, std::function<void()> task);
    ~DeferredTask();
    DeferredTask(const DeferredTask&) = delete;
    DeferredTask& operator=(const DeferredTask&) = delete;

    // Any thread; returns at once.
    void ask();

private:
    void run();

    const std::chrono::milliseconds m_delay;
    const std::function<void()> m_task;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_asked = false;
    bool m_stopping = false;
    std::thread m_thread;
};
