// Clearing one application from the shared recently-used file: every other application's history
// stays exactly as it was, the file is never left truncated or unreadable, and writers that take
// KDE's lock never lose each other's changes.

#include "GLibBookmarks.h"
#include "QtPrinters.h"
#include "RecentlyUsedEditor.h"
#include "RecentlyUsedFile.h"
#include "RecentlyUsedSource.h"
#include "TestHome.h"
#include "XbelFiles.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QSaveFile>
#include <QSysInfo>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <glib.h>
#include <sys/stat.h>
#include <thread>

namespace {
const QDateTime removalNoon(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC);
const QString eog = QStringLiteral("org.gnome.eog");

QByteArray readWholeFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct stat statOf(const QString& path)
{
    struct stat info
    {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info;
}

// GLib's view of the file without the registrations of the given application names, and without
// the items that had only those.
QList<GLibBookmarks::Item> without(QList<GLibBookmarks::Item> items, const QStringList& names)
{
    QList<GLibBookmarks::Item> kept;
    for (GLibBookmarks::Item& item : items) {
        const qsizetype before = item.registrations.size();
        item.registrations.removeIf(
            [&](const GLibBookmarks::Registration& r) { return names.contains(r.name); });
        if (item.registrations.isEmpty() && before > 0)
            continue;
        kept << item;
    }
    return kept;
}

QList<RecentlyUsedFile::Bookmark> without(QList<RecentlyUsedFile::Bookmark> bookmarks,
                                          const QStringList& names)
{
    QList<RecentlyUsedFile::Bookmark> kept;
    for (RecentlyUsedFile::Bookmark& bookmark : bookmarks) {
        const qsizetype before = bookmark.applications.size();
        bookmark.applications.removeIf(
            [&](const RecentlyUsedFile::Application& a) { return names.contains(a.name); });
        if (bookmark.applications.isEmpty() && before > 0)
            continue;
        kept << bookmark;
    }
    return kept;
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 120000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::yieldCurrentThread();
        QThread::msleep(1);
    }
    return true;
}

class RecentlyUsedRemovalTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        home.installApplication(eog, QStringLiteral("Image Viewer"));
        home.installApplication(QStringLiteral("org.gnome.gedit"), QStringLiteral("Text Editor"));
        home.installApplication(QStringLiteral("org.kde.okular"), QStringLiteral("Okular"));
    }

    QString xbelPath() const { return home.dataHome() + QStringLiteral("/recently-used.xbel"); }
    QString uri(const QString& name) const
    {
        return XbelFiles::fileUri(home.path() + QStringLiteral("/Documents/") + name);
    }

    // Five documents: one only the image viewer used, one it shares with the text editor (with a
    // title, groups and a MIME type), one KDE's dialog registered for it under its desktop id,
    // one private to Okular, one of an application that is not installed.
    void writeMixedFile()
    {
        GLibBookmarks writer;
        writer.registerDocument(uri(QStringLiteral("photo.jpg")), QStringLiteral("Image Viewer"),
                                QStringLiteral("eog %u"), removalNoon.addSecs(-60), 3);
        writer.setMimeType(uri(QStringLiteral("photo.jpg")), QStringLiteral("image/jpeg"));
        writer.registerDocument(uri(QStringLiteral("shared.svg")), QStringLiteral("Image Viewer"),
                                QStringLiteral("eog %u"), removalNoon.addSecs(-120));
        writer.registerDocument(uri(QStringLiteral("shared.svg")), QStringLiteral("Text Editor"),
                                QStringLiteral("gedit %u"), removalNoon.addSecs(-180), 4);
        writer.setTitle(uri(QStringLiteral("shared.svg")), QStringLiteral("Shared & drawn"));
        writer.addGroup(uri(QStringLiteral("shared.svg")), QStringLiteral("Graphics"));
        writer.addGroup(uri(QStringLiteral("shared.svg")), QStringLiteral("gedit"));
        writer.setMimeType(uri(QStringLiteral("shared.svg")), QStringLiteral("image/svg+xml"));
        writer.registerDocument(uri(QStringLiteral("scan.pdf")), QStringLiteral("org.kde.okular"),
                                QStringLiteral("okular %u"), removalNoon.addSecs(-240));
        writer.registerDocument(uri(QStringLiteral("scan.pdf")), QStringLiteral("org.gnome.eog"),
                                QStringLiteral("eog %u"), removalNoon.addSecs(-300));
        writer.registerDocument(uri(QStringLiteral("secret.pdf")), QStringLiteral("Okular"),
                                QStringLiteral("okular %u"), removalNoon.addSecs(-360));
        writer.setPrivate(uri(QStringLiteral("secret.pdf")), true);
        writer.registerDocument(uri(QStringLiteral("notes.txt")), QStringLiteral("Gone Editor"),
                                QStringLiteral("gone %u"), removalNoon.addSecs(-420));
        ASSERT_TRUE(writer.save(xbelPath()));
    }

    TestHome home;
};

TEST_F(RecentlyUsedRemovalTest, removesOnlyThatApplicationAndItsNowEmptyBookmarks)
{
    writeMixedFile();
    const std::optional<QList<GLibBookmarks::Item>> before = GLibBookmarks::load(xbelPath());
    ASSERT_TRUE(before);
    const RecentlyUsedFile ourBefore = RecentlyUsedFile::load(xbelPath());

    QString error;
    ASSERT_TRUE(RecentlyUsedFile::removeApplication(xbelPath(), eog, &error))
        << error.toStdString();

    // GLib still reads the file, and finds everything but the image viewer's registrations,
    // under both names it registered with.
    QString glibError;
    const std::optional<QList<GLibBookmarks::Item>> after =
        GLibBookmarks::load(xbelPath(), &glibError);
    ASSERT_TRUE(after) << glibError.toStdString();
    const QStringList names{QStringLiteral("Image Viewer"), QStringLiteral("org.gnome.eog")};
    EXPECT_EQ(*after, without(*before, names));
    EXPECT_EQ(after->size(), 4);
    const RecentlyUsedFile ourAfter = RecentlyUsedFile::load(xbelPath());
    EXPECT_TRUE(ourAfter.isComplete());
    EXPECT_EQ(ourAfter.bookmarks(), without(ourBefore.bookmarks(), names));

    // Clearing again finds nothing more to do.
    const QByteArray bytes = readWholeFile(xbelPath());
    EXPECT_TRUE(RecentlyUsedFile::removeApplication(xbelPath(), eog, &error));
    EXPECT_EQ(readWholeFile(xbelPath()), bytes);
}

TEST_F(RecentlyUsedRemovalTest, leavesEverythingElseByteForByte)
{
    // What no GLib writer produces but a file may hold: a DOCTYPE with an entity, comments,
    // processing instructions, CRLF line ends, CDATA, attributes and elements of other
    // namespaces, metadata of another owner, an icon, a bookmark without applications, an
    // application element without exec (GLib refuses such a file; we keep it as it is).
    const QByteArray head =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<!DOCTYPE xbel [<!ENTITY co \"Company\">]>\r\n"
        "<!-- written by hand -->\r\n"
        "<?tool keep=\"me\"?>\r\n"
        "<xbel version=\"1.0\"\r\n"
        "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\r\n"
        "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\r\n"
        "      xmlns:x=\"urn:example:x\" x:extra=\"1\">\r\n";
    const QByteArray removedApplication =
        "\r\n          <bookmark:application name=\"Image Viewer\" exec=\"&apos;eog %u&apos;\" "
        "modified=\"2026-12-07T11:00:00.000001Z\" count=\"2\"/>";
    const QByteArray shared =
        "<bookmark href=\"file:///home/u/plan%20B.odg\" added=\"2026-12-01T10:00:00Z\" "
        "modified=\"2026-12-07T11:00:00Z\" visited=\"2026-12-01T10:00:00Z\" x:flag=\"yes\">\r\n"
        "    <title><![CDATA[Plan <B> & C]]> &co; \xC3\xA9t\xC3\xA9</title>\r\n"
        "    <desc>Kept</desc>\r\n"
        "    <info>\r\n"
        "      <metadata owner=\"http://freedesktop.org\">\r\n"
        "        <mime:mime-type type=\"application/vnd.oasis.opendocument.graphics\"/>\r\n"
        "        <bookmark:applications>" +
        removedApplication +
        "\r\n          <!-- the editor -->"
        "\r\n          <bookmark:application name=\"Text Editor\" exec=\"&apos;gedit %u&apos;\" "
        "modified=\"2026-12-07T10:00:00Z\" count=\"1\" x:note=\"n\"/>\r\n"
        "        </bookmark:applications>\r\n"
        "        <bookmark:groups><bookmark:group>Work</bookmark:group></bookmark:groups>\r\n"
        "        <bookmark:icon href=\"file:///icons/plan.png\" type=\"image/png\"/>\r\n"
        "        <x:unknown a=\"b\">text</x:unknown>\r\n"
        "        <bookmark:private/>\r\n"
        "      </metadata>\r\n"
        "      <metadata owner=\"http://example.org/other\"><x:whatever/></metadata>\r\n"
        "    </info>\r\n"
        "  </bookmark>";
    const QByteArray onlyViewer =
        "<bookmark href=\"file:///home/u/only.png\"><info><metadata "
        "owner=\"http://freedesktop.org\"><bookmark:applications><bookmark:application "
        "name=\"org.gnome.eog\" exec=\"eog %u\"/><bookmark:application name=\"Image Viewer\" "
        "exec=\"'eog %u'\"/></bookmark:applications></metadata></info></bookmark>";
    const QByteArray bare = "<bookmark href=\"file:///home/u/bare.txt\"/>";
    const QByteArray viewerWithoutExec =
        "<bookmark href=\"file:///home/u/odd.txt\"><info><metadata "
        "owner=\"http://freedesktop.org\"><bookmark:applications><bookmark:application "
        "name=\"Image Viewer\"/><bookmark:application name=\"Image Viewer\" exec=\"eog\"/>"
        "</bookmark:applications></metadata></info></bookmark>";
    const QByteArray removedTail = "<bookmark:application name=\"Image Viewer\" exec=\"eog\"/>";
    const QByteArray tail = "\r\n<!-- end -->\r\n</xbel>\r\n";

    const QByteArray original = head + "  " + shared + "\r\n  " + onlyViewer + "\r\n  " + bare +
                                "\r\n  " + viewerWithoutExec + tail;
    QByteArray sharedAfter = shared;
    sharedAfter.replace(removedApplication, "");
    QByteArray oddAfter = viewerWithoutExec;
    oddAfter.replace(removedTail, "");
    const QByteArray expected =
        head + "  " + sharedAfter + "\r\n  " + bare + "\r\n  " + oddAfter + tail;

    home.writeFile(xbelPath(), original);
    QString error;
    ASSERT_TRUE(RecentlyUsedFile::removeApplication(xbelPath(), eog, &error))
        << error.toStdString();
    EXPECT_EQ(readWholeFile(xbelPath()).toStdString(), expected.toStdString());
}

TEST_F(RecentlyUsedRemovalTest, keepsOtherApplicationsOfALargeFileExactly)
{
    for (int i = 0; i < 30; ++i)
        home.installApplication(QStringLiteral("org.example.App%1").arg(i),
                                QStringLiteral("Application %1").arg(i));
    QByteArray text =
        XbelFiles::generated(2000, 30, home.path() + QStringLiteral("/Documents"), removalNoon);
    home.writeFile(xbelPath(), text);
    const std::optional<QList<GLibBookmarks::Item>> before = GLibBookmarks::load(xbelPath());
    ASSERT_TRUE(before);

    QString error;
    ASSERT_TRUE(
        RecentlyUsedFile::removeApplication(xbelPath(), QStringLiteral("org.example.App7"), &error))
        << error.toStdString();
    const std::optional<QList<GLibBookmarks::Item>> after = GLibBookmarks::load(xbelPath());
    ASSERT_TRUE(after);
    EXPECT_EQ(after->size(), 2000 - 2000 / 30 - 1);
    EXPECT_EQ(*after, without(*before, {QStringLiteral("Application 7")}));
}

TEST_F(RecentlyUsedRemovalTest, replacesTheFileAtomicallyKeepingItsPermissions)
{
    for (const mode_t mode : {mode_t(0600), mode_t(0640), mode_t(0644)}) {
        writeMixedFile();
        ASSERT_EQ(::chmod(QFile::encodeName(xbelPath()).constData(), mode), 0);
        const struct stat before = statOf(xbelPath());
        QString error;
        ASSERT_TRUE(RecentlyUsedFile::removeApplication(xbelPath(), eog, &error))
            << error.toStdString();
        const struct stat after = statOf(xbelPath());
        EXPECT_EQ(after.st_mode & 07777, mode);
        // A new file renamed over the old one, never the old one rewritten in place.
        EXPECT_NE(after.st_ino, before.st_ino);
    }
    // Nothing left behind: no temporary file, no lock.
    EXPECT_EQ(QDir(home.dataHome()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("recently-used.xbel")});
}

TEST_F(RecentlyUsedRemovalTest, writesThroughASymbolicLink)
{
    // Users who keep their data folder elsewhere link the file; the link stays a link.
    const QString elsewhere = home.path() + QStringLiteral("/synced/recently-used.xbel");
    writeMixedFile();
    QDir().mkpath(QFileInfo(elsewhere).absolutePath());
    ASSERT_TRUE(QFile::rename(xbelPath(), elsewhere));
    ASSERT_TRUE(QFile::link(elsewhere, xbelPath()));
    const std::optional<QList<GLibBookmarks::Item>> before = GLibBookmarks::load(elsewhere);
    ASSERT_TRUE(before);

    QString error;
    ASSERT_TRUE(RecentlyUsedFile::removeApplication(xbelPath(), eog, &error))
        << error.toStdString();
    EXPECT_TRUE(QFileInfo(xbelPath()).isSymLink());
    const std::optional<QList<GLibBookmarks::Item>> after = GLibBookmarks::load(elsewhere);
    ASSERT_TRUE(after);
    EXPECT_EQ(*after,
              without(*before, {QStringLiteral("Image Viewer"), QStringLiteral("org.gnome.eog")}));
}

TEST_F(RecentlyUsedRemovalTest, leavesTheFileAloneWhenNothingIsRegistered)
{
    writeMixedFile();
    const struct stat before = statOf(xbelPath());
    QString error;
    EXPECT_TRUE(RecentlyUsedFile::removeApplication(
        xbelPath(), QStringLiteral("org.example.NeverUsed"), &error));
    const struct stat after = statOf(xbelPath());
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
}

TEST_F(RecentlyUsedRemovalTest, refusesFilesItCannotRewriteWithoutLoss)
{
    QString error;
    EXPECT_FALSE(RecentlyUsedFile::removeApplication(xbelPath(), eog, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(xbelPath()));

    writeMixedFile();
    const QByteArray whole = readWholeFile(xbelPath());
    const QByteArray bad[] = {
        // Truncated: what follows the fault would be lost.
        whole.left(whole.size() / 2),
        // Declared in an encoding GLib cannot read or write.
        QByteArray(whole).replace("encoding=\"UTF-8\"", "encoding=\"ISO-8859-1\""),
        // Not UTF-8 at all.
        QByteArray(whole).replace("Shared &amp; drawn", "Shared \xE9"),
        // Not an XBEL file.
        QByteArray("<html><body/></html>"),
    };
    for (const QByteArray& bytes : bad) {
        home.writeFile(xbelPath(), bytes);
        error.clear();
        EXPECT_FALSE(RecentlyUsedFile::removeApplication(xbelPath(), eog, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(readWholeFile(xbelPath()), bytes);
    }
    EXPECT_FALSE(RecentlyUsedFile::removeApplication(xbelPath(), QString(), &error));
}

TEST_F(RecentlyUsedRemovalTest, respectsTheLockOfKdesWriter)
{
    writeMixedFile();
    const QByteArray original = readWholeFile(xbelPath());
    QLockFile held(xbelPath() + QStringLiteral(".lock"));
    ASSERT_TRUE(held.tryLock(0));

    // While another holder keeps the lock: a clean failure after the wait, nothing written.
    QString error;
    EXPECT_FALSE(RecentlyUsedFile::removeApplication(xbelPath(), eog, &error, 100));
    EXPECT_TRUE(error.contains(QStringLiteral("writing"))) << error.toStdString();
    EXPECT_EQ(readWholeFile(xbelPath()), original);

    // A longer wait ends when the holder lets go.
    std::atomic<int> result{-1};
    QString threadError;
    std::thread clearing([&] {
        result = RecentlyUsedFile::removeApplication(xbelPath(), eog, &threadError, 120000) ? 1 : 0;
    });
    EXPECT_EQ(readWholeFile(xbelPath()), original);
    EXPECT_EQ(result.load(), -1);
    held.unlock();
    clearing.join();
    EXPECT_EQ(result.load(), 1) << threadError.toStdString();
    EXPECT_NE(readWholeFile(xbelPath()), original);
}

TEST_F(RecentlyUsedRemovalTest, takesOverTheLockOfAWriterThatDied)
{
    writeMixedFile();
    QProcess dead;
    dead.start(QStringLiteral("true"), {});
    ASSERT_TRUE(dead.waitForStarted());
    const qint64 pid = dead.processId();
    ASSERT_TRUE(dead.waitForFinished());
    home.writeFile(xbelPath() + QStringLiteral(".lock"), QByteArray::number(pid) + "\nkwrite\n" +
                                                             QSysInfo::machineHostName().toUtf8() +
                                                             "\n");

    QString error;
    EXPECT_TRUE(RecentlyUsedFile::removeApplication(xbelPath(), eog, &error, 60000))
        << error.toStdString();
    EXPECT_FALSE(QFile::exists(xbelPath() + QStringLiteral(".lock")));
}

TEST_F(RecentlyUsedRemovalTest, theEditorCutsOnlyWhatItWasAskedTo)
{
    const QString text = QString::fromUtf8(
        XbelFiles::document(XbelFiles::bookmark(QStringLiteral("file:///a"),
                                                {{QStringLiteral("A"), QStringLiteral("a"), {}},
                                                 {QStringLiteral("B"), QStringLiteral("b"), {}}}) +
                            XbelFiles::bookmark(QStringLiteral("file:///b"),
                                                {{QStringLiteral("A"), QStringLiteral("a"), {}}})));
    const auto byName = [](const QString& name) {
        return [name](const RecentlyUsedFile::Bookmark&, const RecentlyUsedFile::Application& a) {
            return a.name == name;
        };
    };
    const RecentlyUsedEditor::Edit removeA =
        RecentlyUsedEditor::withoutApplications(text, byName(QStringLiteral("A")));
    ASSERT_TRUE(removeA.ok) << removeA.error.toStdString();
    EXPECT_EQ(removeA.removedApplications, 2);
    EXPECT_EQ(removeA.removedBookmarks, 1);
    const RecentlyUsedFile after = RecentlyUsedFile::parse(removeA.text.toUtf8());
    ASSERT_EQ(after.bookmarks().size(), 1);
    EXPECT_EQ(after.bookmarks().first().applications.size(), 1);
    EXPECT_EQ(after.bookmarks().first().applications.first().name, QStringLiteral("B"));

    const RecentlyUsedEditor::Edit removeNothing =
        RecentlyUsedEditor::withoutApplications(text, byName(QStringLiteral("C")));
    ASSERT_TRUE(removeNothing.ok);
    EXPECT_EQ(removeNothing.removedApplications, 0);
    EXPECT_EQ(removeNothing.text, text);
}

// Another process writing the same file while we clear it. "gtk": GLib's writer, without a lock,
// as every GTK application writes. "kde": the same under KDE's lock.
class ConcurrentWriterTest : public RecentlyUsedRemovalTest,
                             public testing::WithParamInterface<const char*>
{};

constexpr int writerDocuments = 40;

TEST_P(ConcurrentWriterTest, theFileAlwaysReadsWhole)
{
    const QString mode = QString::fromUtf8(GetParam());
    writeMixedFile();
    const QString stop = home.path() + QStringLiteral("/stop");
    const QString progress = home.path() + QStringLiteral("/progress");

    QProcess writer;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VORLANE_XBEL_WRITER_MODE"), mode);
    environment.insert(QStringLiteral("VORLANE_XBEL_WRITER_PATH"), xbelPath());
    environment.insert(QStringLiteral("VORLANE_XBEL_WRITER_STOP"), stop);
    environment.insert(QStringLiteral("VORLANE_XBEL_WRITER_PROGRESS"), progress);
    writer.setProcessEnvironment(environment);
    writer.setProcessChannelMode(QProcess::ForwardedChannels);
    writer.start(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget(),
                 {QStringLiteral("--gtest_also_run_disabled_tests"),
                  QStringLiteral("--gtest_filter=DISABLED_XbelWriterProcess.writesUntilStopped")});
    ASSERT_TRUE(writer.waitForStarted());
    const auto writes = [&] { return readWholeFile(progress).toInt(); };
    ASSERT_TRUE(waitUntil([&] { return writes() >= 1 || writer.state() == QProcess::NotRunning; }));
    ASSERT_EQ(writer.state(), QProcess::Running);

    int cleared = 0;
    for (int round = 0; round < 40; ++round) {
        QString error;
        const bool ok = RecentlyUsedFile::removeApplication(xbelPath(), eog, &error, 60000);
        // Under the lock nobody can replace the file between our reading and our writing.
        if (mode == u"kde") {
            EXPECT_TRUE(ok) << error.toStdString();
        }
        cleared += ok ? 1 : 0;
        const RecentlyUsedFile file = RecentlyUsedFile::load(xbelPath());
        EXPECT_TRUE(file.isComplete()) << file.errorString().toStdString();
        QString glibError;
        EXPECT_TRUE(GLibBookmarks::load(xbelPath(), &glibError)) << glibError.toStdString();
    }
    const int roundsWhileWriting = writes();
    home.writeFile(stop, "stop");
    ASSERT_TRUE(writer.waitForFinished(120000));
    EXPECT_EQ(writer.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(writer.exitCode(), 0);
    const int total = writes();
    std::cout << mode.toStdString() << ": " << cleared << " of 40 clears written while the other "
              << "process wrote " << total << " times (" << roundsWhileWriting
              << " during the clears)\n";

    QString error;
    EXPECT_TRUE(RecentlyUsedFile::removeApplication(xbelPath(), eog, &error))
        << error.toStdString();
    const std::optional<QList<GLibBookmarks::Item>> items = GLibBookmarks::load(xbelPath());
    ASSERT_TRUE(items);
    QHash<QString, int> editorCounts;
    for (const GLibBookmarks::Item& item : *items)
        for (const GLibBookmarks::Registration& registration : item.registrations) {
            EXPECT_NE(registration.name, QStringLiteral("Image Viewer"));
            if (registration.name == u"Writer Editor")
                editorCounts.insert(item.uri, registration.count);
        }
    if (mode == u"kde") {
        // Writers under the lock never lose each other's changes: every document carries the
        // count of the last round that registered it.
        for (int i = 0; i < total; ++i)
            EXPECT_EQ(
                editorCounts.value(uri(QStringLiteral("writer-%1.txt").arg(i % writerDocuments))),
                std::max(i, total - 1 - ((total - 1 - i) % writerDocuments)) + 1)
                << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Writers, ConcurrentWriterTest, testing::Values("gtk", "kde"));

// Run only as the other process of ConcurrentWriterTest: registers documents with GLib in a loop,
// as an application would, until told to stop.
TEST(DISABLED_XbelWriterProcess, writesUntilStopped)
{
    const QString mode = qEnvironmentVariable("VORLANE_XBEL_WRITER_MODE");
    const QString path = qEnvironmentVariable("VORLANE_XBEL_WRITER_PATH");
    const QString stop = qEnvironmentVariable("VORLANE_XBEL_WRITER_STOP");
    const QString progress = qEnvironmentVariable("VORLANE_XBEL_WRITER_PROGRESS");
    ASSERT_FALSE(path.isEmpty());
    const QString folder =
        QFileInfo(qEnvironmentVariable("HOME") + QStringLiteral("/Documents/")).absoluteFilePath();
    QDeadlineTimer deadline(180000);
    int round = 0;
    for (; !QFile::exists(stop) && !deadline.hasExpired(); ++round) {
        QLockFile lock(path + QStringLiteral(".lock"));
        if (mode == u"kde") {
            ASSERT_TRUE(lock.lock());
        }
        GBookmarkFile* file = g_bookmark_file_new();
        GError* error = nullptr;
        const bool loaded = g_bookmark_file_load_from_file(file, path.toUtf8().constData(), &error);
        ASSERT_TRUE(loaded) << "round " << round << ": " << (error ? error->message : "");
        const QByteArray document =
            XbelFiles::fileUri(folder +
                               QStringLiteral("writer-%1.txt").arg(round % writerDocuments))
                .toUtf8();
        GDateTime* stamp = g_date_time_new_now_utc();
        g_bookmark_file_set_application_info(file, document.constData(), "Writer Editor",
                                             "writer %u", round + 1, stamp, nullptr);
        g_bookmark_file_set_application_info(file, document.constData(), "Image Viewer", "eog %u",
                                             1, stamp, nullptr);
        g_date_time_unref(stamp);
        ASSERT_TRUE(g_bookmark_file_to_file(file, path.toUtf8().constData(), nullptr));
        g_bookmark_file_free(file);
        if (mode == u"kde") {
            lock.unlock();
            // Applications write when the user opens something, never back to back: leave the
            // lock free for a moment, or a waiter that polls it may find it taken every time.
            QThread::msleep(5);
        }
        QSaveFile count(progress);
        ASSERT_TRUE(count.open(QIODevice::WriteOnly));
        count.write(QByteArray::number(round + 1));
        ASSERT_TRUE(count.commit());
    }
}
} // namespace
