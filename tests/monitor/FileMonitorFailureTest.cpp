#include "Diagnostics.h"
#include "FileMonitor.h"
#include "FileMonitorError.h"
#include "HandlerRecorder.h"
#include "MonitorTestHome.h"
#include "ProcessResources.h"
#include "ScriptedInotifyCalls.h"

#include <QDir>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstring>
#include <mutex>

namespace {
class FileMonitorFailureTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_home.isValid()); }

    // The reason start() gave, or an empty text when it did not throw.
    QString startFailure()
    {
        try {
            m_monitor.start(QUrl(), m_recorder.handler());
        } catch (const FileMonitorError& error) {
            return QString::fromUtf8(error.what());
        }
        return {};
    }

    QString record(const QString& name) const { return m_home.recordFolder() + u'/' + name; }

    MonitorTestHome m_home;
    HandlerRecorder m_recorder;
    std::shared_ptr<ScriptedInotifyCalls> m_calls = std::make_shared<ScriptedInotifyCalls>();
    FileMonitor m_monitor{m_calls};
};

TEST_F(FileMonitorFailureTest, WatchLimitReachedIsThrownWithTheReason)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    const int instances = ProcessResources::inotifyInstances();
    m_calls->addWatchError = ENOSPC;
    const QString reason = startFailure();
    EXPECT_TRUE(reason.contains(QLatin1String("watch limit reached"))) << qPrintable(reason);
    EXPECT_TRUE(reason.contains(QLatin1String("max_user_watches"))) << qPrintable(reason);
    EXPECT_TRUE(reason.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))))
        << qPrintable(reason);
    EXPECT_FALSE(m_monitor.isRunning());
    EXPECT_EQ(ProcessResources::inotifyInstances(), instances) << "nothing left open";
}

TEST_F(FileMonitorFailureTest, NoInstanceLeftIsThrownWithTheReason)
{
    m_calls->initError = EMFILE;
    const QString reason = startFailure();
    EXPECT_TRUE(reason.contains(QLatin1String("max_user_instances"))) << qPrintable(reason);
    EXPECT_FALSE(m_monitor.isRunning());
}

TEST_F(FileMonitorFailureTest, RefusedFolderIsNamedInTheReason)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    m_calls->addWatchError = EACCES;
    const QString reason = startFailure();
    EXPECT_TRUE(reason.contains(QString::fromLocal8Bit(std::strerror(EACCES))))
        << qPrintable(reason);
    EXPECT_TRUE(reason.contains(m_home.home())) << qPrintable(reason);
}

TEST_F(FileMonitorFailureTest, FailedRestartLeavesNoReaderRunning)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    const int threads = ProcessResources::threads();
    ASSERT_TRUE(startFailure().isEmpty());
    m_calls->addWatchError = ENOSPC;
    EXPECT_FALSE(startFailure().isEmpty());
    EXPECT_FALSE(m_monitor.isRunning());
    EXPECT_EQ(ProcessResources::threads(), threads);
}

TEST_F(FileMonitorFailureTest, QueueOverflowCallsTheHandlerOnceWithTheRecordFolder)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    ASSERT_TRUE(startFailure().isEmpty());
    m_calls->overflowOnNextRead = true;
    ASSERT_TRUE(MonitorTestHome::writeFile(record(QStringLiteral("notes.txt"))));
    ASSERT_TRUE(m_recorder.waitFor(m_home.recordFolder()));
    ASSERT_TRUE(MonitorTestHome::writeFile(record(QStringLiteral("sentinel.sfl3"))));
    ASSERT_TRUE(m_recorder.waitFor(record(QStringLiteral("sentinel.sfl3"))));
    EXPECT_EQ(m_recorder.count(m_home.recordFolder()), 1u);
    EXPECT_EQ(m_recorder.count(record(QStringLiteral("notes.txt"))), 0u);
}

TEST_F(FileMonitorFailureTest, WatchLimitWhileRunningIsWrittenAndRecoveredFrom)
{
    std::mutex linesMutex;
    QStringList lines;
    // Set before the reader starts and restored after it stops, so it never races the reader.
    const auto previousSink = Diagnostics::setSink([&](const QString& line) {
        const std::lock_guard lock(linesMutex);
        lines << line;
    });
    ASSERT_TRUE(m_home.makeRecordFolder());
    ASSERT_TRUE(startFailure().isEmpty());
    m_calls->addWatchError = ENOSPC;
    ASSERT_TRUE(QDir(m_home.recordFolder()).removeRecursively());
    EXPECT_TRUE(m_recorder.waitFor(m_home.recordFolder()));
    m_calls->addWatchError = 0;
    ASSERT_TRUE(m_home.makeRecordFolder());
    ASSERT_TRUE(MonitorTestHome::writeFile(record(QStringLiteral("written-unwatched.sfl3"))));
    // Any later event in a watched folder retries; the folder's records are then reported.
    ASSERT_TRUE(MonitorTestHome::writeFile(m_home.recentlyUsedFile()));
    EXPECT_TRUE(m_recorder.waitFor(record(QStringLiteral("written-unwatched.sfl3"))));
    m_monitor.stop();
    Diagnostics::setSink(previousSink);
    const std::lock_guard lock(linesMutex);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.first().startsWith(QLatin1String("Error: Cannot watch ")))
        << qPrintable(lines.first());
    EXPECT_TRUE(lines.first().contains(QLatin1String("watch limit reached")));
}
} // namespace
