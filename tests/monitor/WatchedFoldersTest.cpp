#include "WatchedFolders.h"

#include "InotifyCalls.h"
#include "MonitorTestHome.h"
#include "ScopedDescriptor.h"

#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/inotify.h>

namespace {
// The watch table on a real inotify instance, fed with made-up events: what each event means
// is checked without waiting for the kernel to produce it.
class WatchedFoldersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        ASSERT_TRUE(m_fd.isValid());
    }

    WatchedFolders& folders()
    {
        if (!m_folders) {
            if (m_targets.isEmpty())
                m_targets = {
                    WatchedPath::folder(m_home.recordFolder(), QStringLiteral(".sfl3"), true),
                    WatchedPath::file(m_home.recentlyUsedFile())};
            m_folders = std::make_unique<WatchedFolders>(m_calls, m_fd.get(), m_targets);
            m_folders->arm();
        }
        return *m_folders;
    }

    std::vector<QString> watched()
    {
        auto list = folders().watchedFolders();
        std::sort(list.begin(), list.end());
        return list;
    }

    std::vector<QUrl> handle(int wd, std::uint32_t mask, const QString& name = {})
    {
        std::vector<QUrl> urls;
        for (const FileChange& change : folders().handle({InotifyEvent{wd, mask, 0, name}}))
            urls.push_back(change.url);
        return urls;
    }

    static QUrl url(const QString& path) { return QUrl::fromLocalFile(path); }
    QString record(const QString& name) const { return m_home.recordFolder() + u'/' + name; }

    MonitorTestHome m_home;
    InotifyCalls m_calls;
    ScopedDescriptor m_fd{inotify_init1(IN_NONBLOCK | IN_CLOEXEC)};
    // The record folder and recently-used.xbel unless a test names others first.
    QList<WatchedPath> m_targets;
    std::unique_ptr<WatchedFolders> m_folders;
};

TEST_F(WatchedFoldersTest, MissingFoldersWaitOnTheNearestExistingAncestor)
{
    EXPECT_EQ(watched(), std::vector<QString>{m_home.home()});
}

TEST_F(WatchedFoldersTest, MissingRecordFolderWaitsOnTheDataFolder)
{
    ASSERT_TRUE(QDir().mkpath(m_home.dataFolder()));
    EXPECT_EQ(watched(), std::vector<QString>{m_home.dataFolder()});
}

TEST_F(WatchedFoldersTest, ExistingFoldersAreWatchedThemselves)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    EXPECT_EQ(watched(), (std::vector<QString>{m_home.dataFolder(), m_home.recordFolder()}));
}

TEST_F(WatchedFoldersTest, QueueOverflowAsksForOneFullReread)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    const auto changed = handle(-1, IN_Q_OVERFLOW);
    EXPECT_EQ(changed, std::vector<QUrl>{url(m_home.recordFolder())});
    EXPECT_EQ(watched().size(), 2u) << "the watches survive an overflow";
}

TEST_F(WatchedFoldersTest, RecordChangesAreReported)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    const int wd = folders().watchOn(m_home.recordFolder());
    ASSERT_GE(wd, 0);
    for (const std::uint32_t mask :
         {IN_CREATE, IN_CLOSE_WRITE, IN_DELETE, IN_MOVED_FROM, IN_MOVED_TO})
        EXPECT_EQ(handle(wd, mask, QStringLiteral("a.sfl3")),
                  std::vector<QUrl>{url(record("a.sfl3"))});
}

TEST_F(WatchedFoldersTest, RecordWrittenInPlaceIsReportedAsBeingWritten)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    const int records = folders().watchOn(m_home.recordFolder());
    const QUrl written = url(record("a.sfl3"));
    EXPECT_EQ(folders().handle({{records, IN_MODIFY, 0, QStringLiteral("a.sfl3")},
                                {records, IN_CLOSE_WRITE, 0, QStringLiteral("a.sfl3")}}),
              (std::vector<FileChange>{{written, true}, {written, false}}));
    EXPECT_TRUE(handle(records, IN_MODIFY, QStringLiteral("a.sfl2")).empty());
    // recently-used.xbel is only ever replaced; its folder is not watched for writes.
    const int data = folders().watchOn(m_home.dataFolder());
    EXPECT_TRUE(handle(data, IN_MODIFY, QStringLiteral("recently-used.xbel")).empty());
}

TEST_F(WatchedFoldersTest, OtherEventsAndEntriesAreNotReported)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    const int records = folders().watchOn(m_home.recordFolder());
    const int data = folders().watchOn(m_home.dataFolder());
    EXPECT_TRUE(handle(records, IN_ATTRIB, QStringLiteral("a.sfl3")).empty());
    EXPECT_TRUE(handle(records, IN_CREATE | IN_ISDIR, QStringLiteral("folder.sfl3")).empty());
    EXPECT_TRUE(handle(records, IN_CLOSE_WRITE, QStringLiteral("a.sfl2")).empty());
    EXPECT_TRUE(handle(records, IN_CLOSE_WRITE, QStringLiteral("recently-used.xbel")).empty());
    EXPECT_TRUE(handle(data, IN_CLOSE_WRITE, QStringLiteral("a.sfl3")).empty());
    EXPECT_TRUE(handle(data, IN_CREATE, QStringLiteral("recently-used.xbel.5XQ2B1")).empty());
    EXPECT_TRUE(handle(data, IN_CREATE, QStringLiteral("recently-used.xbel.lock")).empty());
    EXPECT_TRUE(handle(12345, IN_CLOSE_WRITE, QStringLiteral("a.sfl3")).empty());
}

TEST_F(WatchedFoldersTest, RecentlyUsedIsReportedFromTheDataFolder)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    const int data = folders().watchOn(m_home.dataFolder());
    EXPECT_EQ(handle(data, IN_MOVED_TO, QStringLiteral("recently-used.xbel")),
              std::vector<QUrl>{url(m_home.recentlyUsedFile())});
}

// More sources name more paths: a file written in place beside the records, a file replaced in
// a folder of its own. Each is reported by its own rule; a lost queue still asks for one full
// reread, as the first path.
TEST_F(WatchedFoldersTest, EveryWatchedPathIsReportedByItsOwnRule)
{
    const QString lists = m_home.root() + QStringLiteral("/lists");
    ASSERT_TRUE(m_home.makeRecordFolder());
    ASSERT_TRUE(QDir().mkpath(lists));
    m_targets = {WatchedPath::folder(m_home.recordFolder(), QStringLiteral(".sfl3"), true),
                 WatchedPath::file(record("activity.db"), true),
                 WatchedPath::file(lists + QStringLiteral("/list.xbel"))};
    const int records = folders().watchOn(m_home.recordFolder());
    const int other = folders().watchOn(lists);
    ASSERT_GE(records, 0);
    ASSERT_GE(other, 0);
    struct Row
    {
        int wd;
        std::uint32_t mask;
        const char* name;
        std::vector<FileChange> reported;
    };
    const QUrl database = url(record("activity.db"));
    const QUrl list = url(lists + QStringLiteral("/list.xbel"));
    const Row rows[] = {
        {records, IN_MODIFY, "activity.db", {{database, true}}},
        {records, IN_CLOSE_WRITE, "activity.db", {{database, false}}},
        {records, IN_CLOSE_WRITE, "a.sfl3", {{url(record("a.sfl3")), false}}},
        {records, IN_CLOSE_WRITE, "activity.db-wal", {}},
        {other, IN_MOVED_TO, "list.xbel", {{list, false}}},
        {other, IN_MODIFY, "list.xbel", {}},
        {other, IN_CLOSE_WRITE, "a.sfl3", {}},
        {other, IN_Q_OVERFLOW, "", {{url(m_home.recordFolder()), false}}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(folders().handle({{row.wd, row.mask, 0, QString::fromLatin1(row.name)}}),
                  row.reported)
            << row.name << " " << row.mask;
}

TEST_F(WatchedFoldersTest, ArrivingFolderIsWatchedAndItsRecordsReported)
{
    ASSERT_TRUE(QDir().mkpath(m_home.dataFolder()));
    const int data = folders().watchOn(m_home.dataFolder());
    ASSERT_TRUE(m_home.makeRecordFolder());
    ASSERT_TRUE(MonitorTestHome::writeFile(record("b.sfl3")));
    ASSERT_TRUE(MonitorTestHome::writeFile(record("a.sfl3")));
    ASSERT_TRUE(MonitorTestHome::writeFile(record("notes.txt")));
    const auto changed =
        handle(data, IN_CREATE | IN_ISDIR, QStringLiteral("com.apple.sharedfilelist"));
    EXPECT_EQ(changed, (std::vector<QUrl>{url(record("a.sfl3")), url(record("b.sfl3"))}));
    EXPECT_GE(folders().watchOn(m_home.recordFolder()), 0);
}

TEST_F(WatchedFoldersTest, DeletedRecordFolderFallsBackToItsParent)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    const int records = folders().watchOn(m_home.recordFolder());
    ASSERT_TRUE(QDir(m_home.recordFolder()).removeRecursively());
    EXPECT_EQ(handle(records, IN_DELETE_SELF), std::vector<QUrl>{url(m_home.recordFolder())});
    EXPECT_EQ(watched(),
              (std::vector<QString>{m_home.dataFolder(), QFileInfo(m_home.recordFolder()).path()}));
    EXPECT_TRUE(handle(records, IN_IGNORED).empty()) << "the dropped watch is forgotten";
}

TEST_F(WatchedFoldersTest, ReplacedRecordFolderIsWatchedAnew)
{
    ASSERT_TRUE(m_home.makeRecordFolder());
    const int records = folders().watchOn(m_home.recordFolder());
    const QString aside = m_home.root() + QStringLiteral("/aside");
    ASSERT_TRUE(QDir().rename(m_home.recordFolder(), aside));
    ASSERT_TRUE(m_home.makeRecordFolder());
    ASSERT_TRUE(MonitorTestHome::writeFile(record("c.sfl3")));
    const auto changed = handle(records, IN_MOVE_SELF);
    EXPECT_EQ(changed, (std::vector<QUrl>{url(m_home.recordFolder()), url(record("c.sfl3"))}));
    EXPECT_NE(folders().watchOn(m_home.recordFolder()), records);
}
} // namespace
