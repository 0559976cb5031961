// Settings in their file: a write that changes nothing writes nothing, the changes of a moment
// are written together without the writer waiting, and what was set reaches the disk for other
// programs and at the end of the program. The test program also plays those other programs.
#include "UserDefaults.h"

#include "TestHome.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sys/inotify.h>
#include <unistd.h>

namespace {
QString programPath;

// How often the settings file was written since this began, as inotify on its folder sees it:
// each write puts a new file in its place, made under a temporary name (or none) and renamed or
// linked to its own. (Reading it with a handle open for writing is no write.)
class FileWrites
{
public:
    explicit FileWrites(const QString& path)
        : m_name(QFileInfo(path).fileName())
        , m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        QDir().mkpath(QFileInfo(path).path());
        inotify_add_watch(m_fd, QFile::encodeName(QFileInfo(path).path()).constData(),
                          IN_CREATE | IN_MOVED_TO);
    }
    ~FileWrites() { ::close(m_fd); }
    FileWrites(const FileWrites&) = delete;
    FileWrites& operator=(const FileWrites&) = delete;

    // The kernel queues an event when the write happens: a write that is over is counted.
    int count()
    {
        alignas(inotify_event) char buffer[4096];
        ssize_t length;
        while ((length = ::read(m_fd, buffer, sizeof buffer)) > 0) {
            for (ssize_t offset = 0; offset < length;) {
                inotify_event event;
                std::memcpy(&event, buffer + offset, sizeof event);
                if (event.len > 0 && m_name == QFile::decodeName(buffer + offset + sizeof event))
                    ++m_count;
                offset += static_cast<ssize_t>(sizeof event + event.len);
            }
        }
        return m_count;
    }

private:
    QString m_name;
    int m_fd;
    int m_count = 0;
};

// Runs this program as another one: "--set key value" or "--print key".
QString runAsOtherProgram(const QStringList& arguments)
{
    QProcess process;
    process.start(programPath, arguments);
    if (!process.waitForFinished(30000))
        return QStringLiteral("(did not finish)");
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool waitUntil(const std::function<bool()>& condition)
{
    const QDeadlineTimer deadline(10000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
    return true;
}

class UserDefaultsTest : public ::testing::Test
{
protected:
    QVariant onDisk(const QString& key) const
    {
        return QSettings(m_defaults.filePath(), QSettings::NativeFormat).value(key);
    }

    TestHome m_home;
    UserDefaults m_defaults{UserDefaults::Domain::Application};
};

TEST_F(UserDefaultsTest, AWriteThatChangesNothingWritesNothing)
{
    m_defaults.setObject(QStringLiteral("Appearance"), QStringLiteral("dark"));
    m_defaults.setObject(QStringLiteral("AutoHideWindow"), true);
    m_defaults.synchronize();
    // Read back from the file, the Boolean is the text "true".
    m_defaults.reload();
    FileWrites writes(m_defaults.filePath());
    for (int focusChange = 0; focusChange < 10; ++focusChange) {
        m_defaults.setObject(QStringLiteral("Appearance"), QStringLiteral("dark"));
        m_defaults.setObject(QStringLiteral("AutoHideWindow"), true);
        m_defaults.setObject(QStringLiteral("AutoHideWindow"), QStringLiteral("true"));
        m_defaults.removeObject(QStringLiteral("NeverStored"));
    }
    m_defaults.synchronize();
    EXPECT_EQ(writes.count(), 0);
    m_defaults.setObject(QStringLiteral("Appearance"), QStringLiteral("light"));
    m_defaults.synchronize();
    EXPECT_EQ(writes.count(), 1);
}

TEST_F(UserDefaultsTest, TheChangesOfAMomentAreWrittenTogetherUnasked)
{
    FileWrites writes(m_defaults.filePath());
    const QString key = QStringLiteral("NSWindow Frame Vorlane Window 0");
    const QString last = QStringLiteral("100 100 799 440");
    for (int width = 780; width < 800; ++width)
        m_defaults.setObject(key, QStringLiteral("100 100 %1 440").arg(width));
    EXPECT_EQ(m_defaults.stringForKey(key), last);
    ASSERT_TRUE(waitUntil([&] { return onDisk(key).toString() == last; }));
    // Once; twice should the machine have stalled the loop for longer than the gathering.
    EXPECT_LE(writes.count(), 2);
}

TEST_F(UserDefaultsTest, AnotherProgramSeesAChange)
{
    m_defaults.setObject(QStringLiteral("FilesViewType"), QStringLiteral("list"));
    EXPECT_TRUE(waitUntil([] {
        return runAsOtherProgram({QStringLiteral("--print"), QStringLiteral("FilesViewType")}) ==
               QStringLiteral("list");
    }));
}

TEST_F(UserDefaultsTest, WhatWasSetIsOnDiskWhenTheProgramEnds)
{
    // The other program sets it and ends at once.
    runAsOtherProgram(
        {QStringLiteral("--set"), QStringLiteral("Appearance"), QStringLiteral("dark")});
    EXPECT_EQ(onDisk(QStringLiteral("Appearance")).toString(), QStringLiteral("dark"));
}

TEST_F(UserDefaultsTest, AReloadKeepsWhatWasSetAndTakesInWhatOthersWrote)
{
    m_defaults.setObject(QStringLiteral("Appearance"), QStringLiteral("dark"));
    runAsOtherProgram(
        {QStringLiteral("--set"), QStringLiteral("ShowDockIcon"), QStringLiteral("false")});
    m_defaults.reload();
    EXPECT_EQ(m_defaults.stringForKey(QStringLiteral("Appearance")), QStringLiteral("dark"));
    EXPECT_EQ(m_defaults.stringForKey(QStringLiteral("ShowDockIcon")), QStringLiteral("false"));
    EXPECT_EQ(onDisk(QStringLiteral("Appearance")).toString(), QStringLiteral("dark"));
    EXPECT_EQ(onDisk(QStringLiteral("ShowDockIcon")).toString(), QStringLiteral("false"));
}
} // namespace

int main(int argc, char** argv)
{
    programPath = QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath();
    if (argc == 4 && std::strcmp(argv[1], "--set") == 0) {
        UserDefaults::standard().setObject(QString::fromUtf8(argv[2]), QString::fromUtf8(argv[3]));
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--print") == 0) {
        std::fputs(UserDefaults::standard().stringForKey(QString::fromUtf8(argv[2])).toUtf8(),
                   stdout);
        return 0;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
