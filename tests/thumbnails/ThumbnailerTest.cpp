#include "FileUri.h"
#include "SharedThumbnailCache.h"
#include "ThumbnailGenerator.h"
#include "ThumbnailTestFiles.h"
#include "ThumbnailTestHome.h"
#include "ThumbnailerEntry.h"
#include "ThumbnailerRegistry.h"
#include "ThumbnailerRunner.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMimeDatabase>

#include <gtest/gtest.h>

#include <chrono>

using namespace std::chrono_literals;

namespace {
// A type that Qt's image readers and Poppler leave alone, so only a thumbnailer can show it.
const QString testType = QStringLiteral("text/csv");

class ThumbnailerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        m_picture = ThumbnailTestFiles::writeImage(m_home.path() + QStringLiteral("/made.png"),
                                                   QSize(400, 300), Qt::magenta);
    }

    QString document(const QString& name) const
    {
        return m_home.path() + QStringLiteral("/Documents/") + name;
    }

    // A thumbnailer that copies a ready picture to its output after running body.
    void installCopying(const QString& body = {})
    {
        ThumbnailTestFiles::installThumbnailer(
            m_home.systemDataDir(), QStringLiteral("copying"),
            body + QStringLiteral("\ncp '%1' \"$2\"").arg(m_picture), QStringLiteral("%i %o %s"),
            testType);
    }

    ThumbnailOutcome generate(const QString& file, std::chrono::milliseconds limit = 10s) const
    {
        return ThumbnailGenerator(SharedThumbnailCache(), ThumbnailerRegistry::fromEnvironment(),
                                  limit)
            .generate(file, QSize(86, 86));
    }

    QString sharedThumbnail(const QString& file) const
    {
        return SharedThumbnailCache().thumbnailPath(FileUri::fromPath(file),
                                                    SharedThumbnailSize::forEdge(86));
    }

    QString ownFailureMark(const QString& file) const
    {
        return SharedThumbnailCache().failurePath(FileUri::fromPath(file),
                                                  SharedThumbnailCache::failFolderName());
    }

    ThumbnailTestHome m_home;
    QString m_picture;
};

bool processIsGone(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return true;
    // A zombie has ended; only its parent (or init) has yet to collect it.
    const QByteArray text = status.readAll();
    return text.mid(text.lastIndexOf(')') + 2, 1) == "Z";
}
} // namespace

TEST(ThumbnailerEntryTest, ExecIsSplitAsTheDesktopEntrySpecificationQuotes)
{
    EXPECT_EQ(ThumbnailerEntry::splitExec(QStringLiteral("/usr/bin/thumb -s %s %u %o")),
              QStringList({"/usr/bin/thumb", "-s", "%s", "%u", "%o"}));
    EXPECT_EQ(ThumbnailerEntry::splitExec(QStringLiteral("thumb  \"a b\" \"q\\\"uote\" \"\" x")),
              QStringList({"thumb", "a b", "q\"uote", "", "x"}));
    EXPECT_FALSE(ThumbnailerEntry::splitExec(QStringLiteral("thumb \"unclosed")));
}

TEST(ThumbnailerEntryTest, FieldCodesAreReplacedInsideArguments)
{
    const auto entry = ThumbnailerEntry::parse(
        QStringLiteral("t.thumbnailer"),
        "# comment\n[Thumbnailer Entry]\nTryExec=sh\nExec=sh --size=%s %i %u %o 100%% %x\n"
        "MimeType=image/x-one;image/x-two;\n[Other]\nExec=nothing\n");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->mimeTypes(), QStringList({"image/x-one", "image/x-two"}));
    const QStringList command =
        entry->commandLine(QStringLiteral("/tmp/a b.png"), "file:///tmp/a%20b.png",
                           QStringLiteral("/tmp/out.png"), 256);
    EXPECT_TRUE(command.constFirst().endsWith(QStringLiteral("/sh")));
    EXPECT_EQ(command.mid(1), QStringList({"--size=256", "/tmp/a b.png", "file:///tmp/a%20b.png",
                                           "/tmp/out.png", "100%", ""}));
}

TEST(ThumbnailerEntryTest, EntryWithoutExecOrTypesIsNone)
{
    EXPECT_FALSE(ThumbnailerEntry::parse({}, "[Thumbnailer Entry]\nMimeType=image/png;\n"));
    EXPECT_FALSE(ThumbnailerEntry::parse({}, "[Thumbnailer Entry]\nExec=sh %i %o\n"));
    EXPECT_FALSE(ThumbnailerEntry::parse({}, "[Other Entry]\nExec=sh %i %o\nMimeType=a/b\n"));
}

TEST_F(ThumbnailerTest, RegistryFindsTypesAndAliasesAndSkipsMissingPrograms)
{
    installCopying();
    ThumbnailTestFiles::writeBytes(
        m_home.systemDataDir() + QStringLiteral("/thumbnailers/missing.thumbnailer"),
        "[Thumbnailer Entry]\nTryExec=/nonexistent/program\nExec=/nonexistent/program %i %o\n"
        "MimeType=text/x-python;\n");
    const ThumbnailerRegistry registry = ThumbnailerRegistry::fromEnvironment();
    const QMimeDatabase database;
    EXPECT_EQ(registry.size(), 1);
    EXPECT_TRUE(registry.forMimeType(database.mimeTypeForName(testType)));
    // Listed under an alias, the canonical type finds it too.
    EXPECT_TRUE(registry.forMimeType(database.mimeTypeForName(QStringLiteral("text/x-csv"))));
    EXPECT_FALSE(registry.forMimeType(database.mimeTypeForName(QStringLiteral("text/x-python"))));
}

TEST_F(ThumbnailerTest, UserFolderWinsOverSystemFolders)
{
    ThumbnailTestFiles::installThumbnailer(m_home.systemDataDir(), QStringLiteral("same"),
                                           QStringLiteral("exit 1"), QStringLiteral("%i %o"),
                                           testType);
    ThumbnailTestFiles::installThumbnailer(m_home.dataHome(), QStringLiteral("same"),
                                           QStringLiteral("cp '%1' \"$2\"").arg(m_picture),
                                           QStringLiteral("%i %o"), testType);
    const QString file = ThumbnailTestFiles::writeBytes(document(QStringLiteral("t.csv")), "a,b\n");
    EXPECT_EQ(generate(file).source(), ThumbnailOutcome::Source::Rendered);
}

TEST_F(ThumbnailerTest, ThumbnailerRunsWithoutAShellAndItsPictureIsShared)
{
    const QString log = m_home.path() + QStringLiteral("/arguments.log");
    installCopying(QStringLiteral("printf '%s\\n' \"$@\" > '%1'").arg(log));
    // A shell would run the command substitution and split the name at its spaces.
    const QString file = ThumbnailTestFiles::writeBytes(
        document(QStringLiteral("$(touch pwned) & spaces; 'quoted'.csv")), "a,b\n");

    const ThumbnailOutcome outcome = generate(file);
    ASSERT_EQ(outcome.source(), ThumbnailOutcome::Source::Rendered);
    EXPECT_EQ(outcome.image()->size(), QSize(86, 65));
    EXPECT_TRUE(ThumbnailTestFiles::isCloseTo(ThumbnailTestFiles::centreColour(*outcome.image()),
                                              Qt::magenta));
    QFile arguments(log);
    ASSERT_TRUE(arguments.open(QIODevice::ReadOnly));
    const QStringList lines =
        QString::fromUtf8(arguments.readAll()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines.at(0), file);
    EXPECT_EQ(lines.at(2), QStringLiteral("128"));
    EXPECT_FALSE(QFileInfo::exists(m_home.path() + QStringLiteral("/Documents/pwned")));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("pwned")));
    EXPECT_TRUE(QFileInfo::exists(sharedThumbnail(file)));
}

TEST_F(ThumbnailerTest, ThumbnailerOutOfTimeIsKilledWithWhatItStarted)
{
    const QString pidFile = m_home.path() + QStringLiteral("/child.pid");
    ThumbnailTestFiles::installThumbnailer(
        m_home.systemDataDir(), QStringLiteral("slow"),
        QStringLiteral("sleep 300 &\necho $! > '%1'\nwait").arg(pidFile), QStringLiteral("%i %o"),
        testType);
    const QString file = ThumbnailTestFiles::writeBytes(document(QStringLiteral("s.csv")), "a\n");

    QElapsedTimer timer;
    timer.start();
    const ThumbnailOutcome outcome = generate(file, 3s);
    EXPECT_FALSE(outcome.image());
    EXPECT_EQ(outcome.source(), ThumbnailOutcome::Source::RenderFailed);
    EXPECT_LT(timer.elapsed(), 20000);

    QFile pid(pidFile);
    ASSERT_TRUE(pid.open(QIODevice::ReadOnly)) << "the thumbnailer never got going";
    const qint64 child = pid.readAll().trimmed().toLongLong();
    ASSERT_GT(child, 0);
    EXPECT_TRUE(ThumbnailTestFiles::waitFor([&] { return processIsGone(child); }));
    // Running out of time may be the machine's fault: no failure mark.
    EXPECT_FALSE(QFileInfo::exists(ownFailureMark(file)));
}

TEST_F(ThumbnailerTest, FailingThumbnailerLeavesAFailureMark)
{
    ThumbnailTestFiles::installThumbnailer(m_home.systemDataDir(), QStringLiteral("failing"),
                                           QStringLiteral("exit 3"), QStringLiteral("%i %o"),
                                           testType);
    const QString file = ThumbnailTestFiles::writeBytes(document(QStringLiteral("f.csv")), "a\n");
    EXPECT_EQ(generate(file).source(), ThumbnailOutcome::Source::RenderFailed);
    EXPECT_TRUE(QFileInfo::exists(ownFailureMark(file)));
    EXPECT_FALSE(QFileInfo::exists(sharedThumbnail(file)));
}

TEST_F(ThumbnailerTest, ThumbnailerWritingNoPictureFails)
{
    ThumbnailTestFiles::installThumbnailer(m_home.systemDataDir(), QStringLiteral("silent"),
                                           QStringLiteral("echo 'not a png' > \"$2\""),
                                           QStringLiteral("%i %o"), testType);
    const QString file = ThumbnailTestFiles::writeBytes(document(QStringLiteral("n.csv")), "a\n");
    EXPECT_EQ(generate(file).source(), ThumbnailOutcome::Source::RenderFailed);
}

TEST_F(ThumbnailerTest, AnotherProgramsFailureMarkSparesRunningTheSameThumbnailers)
{
    const QString log = m_home.path() + QStringLiteral("/ran");
    installCopying(QStringLiteral("touch '%1'").arg(log));
    const QString file = ThumbnailTestFiles::writeBytes(document(QStringLiteral("o.csv")), "a\n");
    const SharedThumbnailCache cache;
    const QString foreign =
        cache.failurePath(FileUri::fromPath(file), QStringLiteral("gnome-thumbnail-factory"));
    QImage mark(1, 1, QImage::Format_ARGB32);
    mark.setText(QStringLiteral("Thumb::URI"), QString::fromLatin1(FileUri::fromPath(file)));
    mark.setText(QStringLiteral("Thumb::MTime"),
                 QString::number(FileStamp::of(file)->modificationSeconds()));
    QDir().mkpath(QFileInfo(foreign).absolutePath());
    ASSERT_TRUE(mark.save(foreign, "png"));

    EXPECT_FALSE(generate(file).image());
    EXPECT_FALSE(QFileInfo::exists(log));
}

TEST_F(ThumbnailerTest, FileDeletedWhileItsThumbnailIsMadeGetsNone)
{
    installCopying(QStringLiteral("rm -f \"$1\""));
    const QString file = ThumbnailTestFiles::writeBytes(document(QStringLiteral("d.csv")), "a\n");
    const ThumbnailOutcome outcome = generate(file);
    EXPECT_FALSE(outcome.image());
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_FALSE(QFileInfo::exists(sharedThumbnail(file)));
    EXPECT_FALSE(QFileInfo::exists(ownFailureMark(file)));
}

TEST_F(ThumbnailerTest, FileReplacedWhileItsThumbnailIsMadeGetsNone)
{
    installCopying(QStringLiteral("echo 'c,d' > \"$1.new\" && mv \"$1.new\" \"$1\""));
    const QString file = ThumbnailTestFiles::writeBytes(document(QStringLiteral("r.csv")), "a\n");
    EXPECT_FALSE(generate(file).image());
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_FALSE(QFileInfo::exists(sharedThumbnail(file)));
}

TEST_F(ThumbnailerTest, InstalledGdkPixbufThumbnailerMakesPicturesQtCannotRead)
{
    const QString system =
        QStringLiteral("/usr/share/thumbnailers/gdk-pixbuf-thumbnailer.thumbnailer");
    if (!QFileInfo::exists(system))
        GTEST_SKIP() << "gdk-pixbuf-thumbnailer is not installed (Debian: libgdk-pixbuf2.0-bin)";
    QDir().mkpath(m_home.systemDataDir() + QStringLiteral("/thumbnailers"));
    ASSERT_TRUE(QFile::copy(
        system, m_home.systemDataDir() +
                    QStringLiteral("/thumbnailers/gdk-pixbuf-thumbnailer.thumbnailer")));
    const QString file = ThumbnailTestFiles::writeTga(document(QStringLiteral("old picture.tga")),
                                                      QSize(64, 32), Qt::yellow);
    ASSERT_EQ(QMimeDatabase().mimeTypeForFile(file).name(), QStringLiteral("image/x-tga"));
    const ThumbnailOutcome outcome = generate(file);
    ASSERT_EQ(outcome.source(), ThumbnailOutcome::Source::Rendered);
    // gdk-pixbuf-thumbnailer enlarges small pictures to the size it is asked for.
    EXPECT_EQ(outcome.image()->width(), 2 * outcome.image()->height());
    EXPECT_TRUE(ThumbnailTestFiles::isCloseTo(ThumbnailTestFiles::centreColour(*outcome.image()),
                                              Qt::yellow));
}
