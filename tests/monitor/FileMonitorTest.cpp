#include "FileMonitor.h"

#include "FileMonitorError.h"
#include "HandlerRecorder.h"
#include "InotifyCalls.h"
#include "MonitorTestHome.h"
#include "ProcessResources.h"
#include "RecordLocations.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;
// How soon a change must reach the handler on a desktop.
constexpr auto promptly = std::chrono::seconds(1);

class FileMonitorTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_home.isValid()); }
    void TearDown() override { setRecordFileSuffix(QStringLiteral(".sfl3")); }

    void start() { m_monitor.start(QUrl::fromLocalFile(recordFolderPath()), m_recorder.handler()); }
    QString record(const QString& name) const { return m_home.recordFolder() + u'/' + name; }
    QString inData(const QString& name) const { return m_home.dataFolder() + u'/' + name; }

    // Events of one inotify instance arrive in order: once a record written after everything
    // else has been reported, every earlier event has been handled too.
    bool settle()
    {
        const QString sentinel = record(QStringLiteral("sentinel-%1.sfl3").arg(++m_sentinels));
        return MonitorTestHome::writeFile(sentinel) && m_recorder.waitFor(sentinel);
    }

    // Waits for the path and checks it came within the promised second.
    void expectPromptCall(const QString& path, Clock::time_point since)
    {
        ASSERT_TRUE(m_recorder.waitFor(path)) << qPrintable(path);
        const auto elapsed = Clock::now() - since;
        EXPECT_LT(elapsed, promptly) << qPrintable(path);
        RecordProperty("latency_us",
                       static_cast<int>(
                           std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count()));
    }

    MonitorTestHome m_home;
    HandlerRecorder m_recorder;
    // Declared last so that it stops before the recorder its handler calls goes away.
    FileMonitor m_monitor;
    int m_sentinels = 0;
};

TEST_F(FileMonitorTest, RecordWrittenInPlaceIsReported)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    start();
    const auto before = Clock::now();
    ASSERT_TRUE(MonitorTestHome::writeFile(record(QStringLiteral("org.gnome.Evince.sfl3"))));
    expectPromptCall(record(QStringLiteral("org.gnome.Evince.sfl3")), before);
}

TEST_F(FileMonitorTest, RecordReplacedByRenameIsReportedUnderItsNameOnly)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    ASSERT_TRUE(MonitorTestHome::writeFile(record(QStringLiteral("org.gnome.Evince.sfl3"))));
    start();
    const QString temporary = record(QStringLiteral("org.gnome.Evince.sfl3.tmp-k2Xq"));
    const auto before = Clock::now();
    ASSERT_TRUE(MonitorTestHome::replaceByRename(temporary,
                                                 record(QStringLiteral("org.gnome.Evince.sfl3"))));
    expectPromptCall(record(QStringLiteral("org.gnome.Evince.sfl3")), before);
    ASSERT_TRUE(settle());
    EXPECT_EQ(m_recorder.count(temporary), 0u);
}

TEST_F(FileMonitorTest, RecordKeptOpenIsReportedWhileItIsWritten)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    const QString path = record(QStringLiteral("org.gnome.Evince.sfl3"));
    ASSERT_TRUE(MonitorTestHome::writeFile(path));
    start();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Append));
    const auto before = Clock::now();
    ASSERT_EQ(file.write("more"), 4);
    ASSERT_TRUE(file.flush());
    expectPromptCall(path, before);
    EXPECT_TRUE(file.isOpen());
}

TEST_F(FileMonitorTest, ManyWritesToAnOpenRecordAreReportedOnce)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    const QString path = record(QStringLiteral("org.gnome.Evince.sfl3"));
    ASSERT_TRUE(MonitorTestHome::writeFile(path));
    // Bursts end after two quiet seconds here: no pause within the writes below is that long,
    // however loaded the machine.
    FileMonitor monitor(std::make_shared<InotifyCalls>(),
                        {std::chrono::seconds(2), std::chrono::minutes(1)});
    monitor.start(QUrl(), m_recorder.handler());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Append));
    for (int piece = 0; piece < 500; ++piece) {
        ASSERT_EQ(file.write("piece\n"), 6);
        ASSERT_TRUE(file.flush());
    }
    ASSERT_TRUE(m_recorder.waitFor(path));
    EXPECT_EQ(m_recorder.count(path), 1u);
    // Closing it is a change of its own.
    file.close();
    ASSERT_TRUE(m_recorder.waitUntilCount(path, 2));
    ASSERT_TRUE(settle());
    EXPECT_EQ(m_recorder.count(path), 2u);
}

TEST_F(FileMonitorTest, RecordDeletedIsReported)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    ASSERT_TRUE(MonitorTestHome::writeFile(record(QStringLiteral("org.gnome.Evince.sfl3"))));
    start();
    const auto before = Clock::now();
    ASSERT_TRUE(QFile::remove(record(QStringLiteral("org.gnome.Evince.sfl3"))));
    expectPromptCall(record(QStringLiteral("org.gnome.Evince.sfl3")), before);
}

TEST_F(FileMonitorTest, RecordRenamedIsReportedUnderBothNames)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    ASSERT_TRUE(MonitorTestHome::writeFile(record(QStringLiteral("old.sfl3"))));
    start();
    ASSERT_TRUE(
        QFile::rename(record(QStringLiteral("old.sfl3")), record(QStringLiteral("new.sfl3"))));
    EXPECT_TRUE(m_recorder.waitFor(record(QStringLiteral("old.sfl3"))));
    EXPECT_TRUE(m_recorder.waitFor(record(QStringLiteral("new.sfl3"))));
}

TEST_F(FileMonitorTest, OtherFilesInTheRecordFolderAreIgnored)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    start();
    ASSERT_TRUE(MonitorTestHome::writeFile(record(QStringLiteral("notes.txt"))));
    ASSERT_TRUE(MonitorTestHome::writeFile(record(QStringLiteral("org.gnome.Evince.sfl2"))));
    ASSERT_TRUE(QDir().mkdir(record(QStringLiteral("folder.sfl3"))));
    ASSERT_TRUE(QFile::remove(record(QStringLiteral("notes.txt"))));
    ASSERT_TRUE(settle());
    for (const HandlerRecorder::Call& call : m_recorder.calls())
        EXPECT_TRUE(call.url.fileName().startsWith(QLatin1String("sentinel-")))
            << qPrintable(call.url.toString());
}

TEST_F(FileMonitorTest, SuffixInForceAtStartDecides)
{
    setRecordFileSuffix(QStringLiteral(".sfl2"));
    ASSERT_TRUE(m_home.makeRecordFolder());
    start();
    ASSERT_TRUE(MonitorTestHome::writeFile(record(QStringLiteral("leftover.sfl3"))));
    ASSERT_TRUE(MonitorTestHome::writeFile(record(QStringLiteral("org.gnome.Evince.sfl2"))));
    ASSERT_TRUE(m_recorder.waitFor(record(QStringLiteral("org.gnome.Evince.sfl2"))));
    ASSERT_TRUE(MonitorTestHome::writeFile(record(QStringLiteral("last.sfl2"))));
    ASSERT_TRUE(m_recorder.waitFor(record(QStringLiteral("last.sfl2"))));
    EXPECT_EQ(m_recorder.count(record(QStringLiteral("leftover.sfl3"))), 0u);
}

TEST_F(FileMonitorTest, RecentlyUsedReplacedByRenameIsReported)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    start();
    // As GLib's g_file_set_contents() writes it, then KDE's lock file beside it.
    const QString temporary = inData(QStringLiteral("recently-used.xbel.5XQ2B1"));
    const auto before = Clock::now();
    ASSERT_TRUE(MonitorTestHome::replaceByRename(temporary, m_home.recentlyUsedFile()));
    expectPromptCall(m_home.recentlyUsedFile(), before);
    ASSERT_TRUE(MonitorTestHome::writeFile(inData(QStringLiteral("recently-used.xbel.lock"))));
    ASSERT_TRUE(MonitorTestHome::writeFile(inData(QStringLiteral("notes.org.sfl3"))));
    ASSERT_TRUE(settle());
    EXPECT_EQ(m_recorder.count(temporary), 0u);
    EXPECT_EQ(m_recorder.count(inData(QStringLiteral("recently-used.xbel.lock"))), 0u);
    EXPECT_EQ(m_recorder.count(inData(QStringLiteral("notes.org.sfl3"))), 0u);
}

TEST_F(FileMonitorTest, FoldersCreatedAfterStartAreWatched)
{
    // Nothing below the home folder exists yet.
    start();
    EXPECT_TRUE(m_monitor.isRunning());
    ASSERT_TRUE(m_home.makeRecordFolder());
    const auto before = Clock::now();
    ASSERT_TRUE(MonitorTestHome::writeFile(record(QStringLiteral("org.gnome.Evince.sfl3"))));
    expectPromptCall(record(QStringLiteral("org.gnome.Evince.sfl3")), before);
    ASSERT_TRUE(MonitorTestHome::replaceByRename(
        inData(QStringLiteral("recently-used.xbel.AB12CD")), m_home.recentlyUsedFile()));
    EXPECT_TRUE(m_recorder.waitFor(m_home.recentlyUsedFile()));
}

TEST_F(FileMonitorTest, RecordFolderMovedInReportsTheRecordsItHolds)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(m_home.recordFolder()).path()));
    start();
    const QString staging = m_home.root() + QStringLiteral("/staging");
    ASSERT_TRUE(QDir().mkpath(staging));
    ASSERT_TRUE(MonitorTestHome::writeFile(staging + QStringLiteral("/org.gnome.Evince.sfl3")));
    ASSERT_TRUE(MonitorTestHome::writeFile(staging + QStringLiteral("/notes.txt")));
    ASSERT_TRUE(QDir().rename(staging, m_home.recordFolder()));
    EXPECT_TRUE(m_recorder.waitFor(record(QStringLiteral("org.gnome.Evince.sfl3"))));
    ASSERT_TRUE(settle());
    EXPECT_EQ(m_recorder.count(record(QStringLiteral("notes.txt"))), 0u);
}

TEST_F(FileMonitorTest, RecordFolderDeletedAndCreatedAgainIsWatchedAgain)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    start();
    for (int round = 0; round < 3; ++round) {
        const QString name = QStringLiteral("round-%1.sfl3").arg(round);
        ASSERT_TRUE(MonitorTestHome::writeFile(record(name)));
        ASSERT_TRUE(m_recorder.waitFor(record(name)));
        const std::size_t folderCalls = m_recorder.count(m_home.recordFolder());
        ASSERT_TRUE(QDir(m_home.recordFolder()).removeRecursively());
        // Losing the folder asks for everything to be read again.
        ASSERT_TRUE(m_recorder.waitUntilCount(m_home.recordFolder(), folderCalls + 1));
        ASSERT_TRUE(m_home.makeRecordFolder());
        const QString again = QStringLiteral("again-%1.sfl3").arg(round);
        const auto before = Clock::now();
        ASSERT_TRUE(MonitorTestHome::writeFile(record(again)));
        expectPromptCall(record(again), before);
    }
}

TEST_F(FileMonitorTest, FolderAboveTheRecordFolderDeletedAndCreatedAgain)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    start();
    ASSERT_TRUE(QDir(m_home.dataFolder() + QStringLiteral("/com.apple.sharedfilelist"))
                    .removeRecursively());
    ASSERT_TRUE(m_recorder.waitFor(m_home.recordFolder()));
    ASSERT_TRUE(m_home.makeRecordFolder());
    ASSERT_TRUE(MonitorTestHome::writeFile(record(QStringLiteral("org.gnome.Evince.sfl3"))));
    EXPECT_TRUE(m_recorder.waitFor(record(QStringLiteral("org.gnome.Evince.sfl3"))));
}

TEST_F(FileMonitorTest, StartingTwiceLeavesOneReader)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    const int instances = ProcessResources::inotifyInstances();
    const int threads = ProcessResources::threads();
    start();
    start();
    EXPECT_EQ(ProcessResources::inotifyInstances(), instances + 1);
    EXPECT_EQ(ProcessResources::threads(), threads + 1);
    // A rename is one event, so one reader gives exactly one call.
    ASSERT_TRUE(MonitorTestHome::replaceByRename(record(QStringLiteral("once.tmp")),
                                                 record(QStringLiteral("once.sfl3"))));
    ASSERT_TRUE(m_recorder.waitFor(record(QStringLiteral("once.sfl3"))));
    ASSERT_TRUE(settle());
    EXPECT_EQ(m_recorder.count(record(QStringLiteral("once.sfl3"))), 1u);
}

TEST_F(FileMonitorTest, HandlerRunsOnTheMonitorsThread)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    start();
    ASSERT_TRUE(MonitorTestHome::writeFile(record(QStringLiteral("a.sfl3"))));
    ASSERT_TRUE(m_recorder.waitFor(record(QStringLiteral("a.sfl3"))));
    for (const HandlerRecorder::Call& call : m_recorder.calls())
        EXPECT_NE(call.thread, std::this_thread::get_id());
}

TEST_F(FileMonitorTest, StoppedMonitorCallsNothing)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    start();
    m_monitor.stop();
    EXPECT_FALSE(m_monitor.isRunning());
    // A second monitor witnesses that the change happened and was delivered.
    HandlerRecorder witnessCalls;
    FileMonitor witness;
    witness.start(QUrl(), witnessCalls.handler());
    ASSERT_TRUE(MonitorTestHome::writeFile(record(QStringLiteral("a.sfl3"))));
    ASSERT_TRUE(witnessCalls.waitFor(record(QStringLiteral("a.sfl3"))));
    EXPECT_EQ(m_recorder.total(), 0u);
}

TEST_F(FileMonitorTest, WatchedFolderIsTheNormalisedRecordFolder)
{
    qputenv("XDG_DATA_HOME",
            QFile::encodeName(m_home.home() + QStringLiteral("//.local/./share/")));
    ASSERT_TRUE(m_home.makeRecordFolder());
    // The URL only comes along; the record folder is watched whatever it says.
    m_monitor.start(QUrl::fromLocalFile(QStringLiteral("/nonexistent")), m_recorder.handler());
    EXPECT_EQ(m_monitor.urlToMonitor(), m_home.recordFolder());
    ASSERT_TRUE(MonitorTestHome::writeFile(record(QStringLiteral("a.sfl3"))));
    EXPECT_TRUE(m_recorder.waitFor(record(QStringLiteral("a.sfl3"))));
}

TEST_F(FileMonitorTest, QueueLabelNamesTheClassAndAUuid)
{
    EXPECT_TRUE(m_monitor.queueLabel().startsWith(QLatin1String("Vorlane.FileMonitor-")));
    EXPECT_EQ(m_monitor.queueLabel().size(), QStringLiteral("Vorlane.FileMonitor-").size() + 36);
    EXPECT_NE(m_monitor.queueLabel(), FileMonitor().queueLabel());
}

TEST_F(FileMonitorTest, FailingHandlerDoesNotStopTheMonitor)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    std::atomic<int> calls = 0;
    m_monitor.start(QUrl(), [&](const QUrl& url) {
        m_recorder.record(url);
        if (++calls == 1)
            throw std::runtime_error("handler failed");
    });
    ASSERT_TRUE(MonitorTestHome::writeFile(record(QStringLiteral("a.sfl3"))));
    ASSERT_TRUE(m_recorder.waitFor(record(QStringLiteral("a.sfl3"))));
    ASSERT_TRUE(MonitorTestHome::writeFile(record(QStringLiteral("b.sfl3"))));
    EXPECT_TRUE(m_recorder.waitFor(record(QStringLiteral("b.sfl3"))));
}

TEST_F(FileMonitorTest, RestartFromTheHandlerIsRefused)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    std::atomic<bool> refused = false;
    m_monitor.start(QUrl(), [&](const QUrl& url) {
        try {
            m_monitor.start(QUrl(), [](const QUrl&) {});
        } catch (const FileMonitorError&) {
            refused = true;
        }
        m_recorder.record(url);
    });
    ASSERT_TRUE(MonitorTestHome::writeFile(record(QStringLiteral("a.sfl3"))));
    ASSERT_TRUE(m_recorder.waitFor(record(QStringLiteral("a.sfl3"))));
    EXPECT_TRUE(refused);
    EXPECT_TRUE(m_monitor.isRunning());
}

TEST_F(FileMonitorTest, MissingHandlerIsRefused)
{
    EXPECT_THROW(m_monitor.start(QUrl(), {}), std::runtime_error);
    EXPECT_FALSE(m_monitor.isRunning());
}

TEST_F(FileMonitorTest, DestructionWhileEventsFlow)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    std::atomic<bool> writing = true;
    std::thread writer([&] {
        for (int i = 0; writing; ++i) {
            MonitorTestHome::replaceByRename(record(QStringLiteral("flow.tmp")),
                                             record(QStringLiteral("flow-%1.sfl3").arg(i % 8)));
        }
    });
    std::atomic<int> lateCalls = 0;
    int roundsWithEvents = 0;
    Clock::time_point stopping;
    Clock::duration slowestStop{};
    for (int round = 0; round < 20; ++round) {
        auto destroyed = std::make_shared<std::atomic<bool>>(false);
        HandlerRecorder calls;
        {
            FileMonitor monitor;
            monitor.start(QUrl(), [&calls, &lateCalls, destroyed](const QUrl& url) {
                if (*destroyed)
                    ++lateCalls;
                calls.record(url);
            });
            if (calls.waitForCount(1))
                ++roundsWithEvents;
            stopping = Clock::now();
        }
        // The reader is woken, not polled: stopping never waits for a timer.
        slowestStop = std::max(slowestStop, Clock::now() - stopping);
        *destroyed = true;
    }
    writing = false;
    writer.join();
    EXPECT_EQ(roundsWithEvents, 20);
    EXPECT_LT(slowestStop, promptly);
    EXPECT_EQ(lateCalls, 0);
}
} // namespace
