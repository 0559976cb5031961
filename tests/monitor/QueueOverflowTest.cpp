#include "FileMonitor.h"
#include "HandlerRecorder.h"
#include "MonitorTestHome.h"

#include <QFile>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

namespace {
const char* const queueLimitFile = "/proc/sys/fs/inotify/max_queued_events";

// Lowers the kernel's event queue length for instances created meanwhile, and puts it back.
// The kernel reads the limit when an instance is created, so it is lowered only around start().
class LoweredQueueLimit
{
public:
    explicit LoweredQueueLimit(int limit)
    {
        QFile file(QString::fromLatin1(queueLimitFile));
        if (!file.open(QIODevice::ReadOnly))
            return;
        m_saved = file.readAll().trimmed();
        m_lowered = write(QByteArray::number(limit));
    }
    ~LoweredQueueLimit()
    {
        if (m_lowered)
            write(m_saved);
    }
    LoweredQueueLimit(const LoweredQueueLimit&) = delete;
    LoweredQueueLimit& operator=(const LoweredQueueLimit&) = delete;

    bool isLowered() const { return m_lowered; }

private:
    static bool write(const QByteArray& value)
    {
        QFile file(QString::fromLatin1(queueLimitFile));
        return file.open(QIODevice::WriteOnly) && file.write(value + '\n') > 0 && file.flush();
    }

    QByteArray m_saved;
    bool m_lowered = false;
};

// A handler that holds the reader in its first call until released, so the queue fills.
class BlockingHandler
{
public:
    void operator()(const QUrl& url)
    {
        std::unique_lock lock(m_mutex);
        if (!m_blocked) {
            m_blocked = true;
            m_changed.notify_all();
            m_changed.wait(lock, [this] { return m_released; });
        }
        lock.unlock();
        m_recorder.record(url);
    }

    bool waitUntilBlocked()
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, HandlerRecorder::deadline, [this] { return m_blocked; });
    }

    void release()
    {
        const std::lock_guard lock(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }

    HandlerRecorder& recorder() { return m_recorder; }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_blocked = false;
    bool m_released = false;
    HandlerRecorder m_recorder;
};

TEST(QueueOverflowTest, RealOverflowCallsTheHandlerWithTheRecordFolder)
{
    // Lowering the limit affects every program on the machine for a moment, so only where asked.
    if (qEnvironmentVariableIsEmpty("VORLANE_TEST_SYSTEM_LIMITS"))
        GTEST_SKIP() << "set VORLANE_TEST_SYSTEM_LIMITS=1 to overflow a real inotify queue";
    MonitorTestHome home;
    ASSERT_TRUE(home.makeRecordFolder());
    BlockingHandler handler;
    FileMonitor monitor;
    {
        LoweredQueueLimit limit(8);
        if (!limit.isLowered())
            GTEST_SKIP() << queueLimitFile << " cannot be written here";
        monitor.start(QUrl(), [&handler](const QUrl& url) { handler(url); });
    }
    const QString first = home.recordFolder() + QStringLiteral("/first.sfl3");
    ASSERT_TRUE(MonitorTestHome::writeFile(first));
    ASSERT_TRUE(handler.waitUntilBlocked());
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(MonitorTestHome::writeFile(home.recordFolder() +
                                               QStringLiteral("/notes-%1.txt").arg(i)));
    handler.release();
    EXPECT_TRUE(handler.recorder().waitFor(home.recordFolder()));
    EXPECT_EQ(handler.recorder().count(home.recordFolder()), 1u);
}
} // namespace
