// Reading recently-used.xbel: files GLib writes, files KDE writes, files no GLib reader accepts,
// damaged and very large files.

#include "RecentlyUsedFile.h"

#include "GLibBookmarks.h"
#include "QtPrinters.h"
#include "TestHome.h"
#include "XbelFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

#include <glib.h>
#include <sys/stat.h>

namespace {
const QDateTime fileTestNoon(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC);

QString shellQuoted(const QString& text)
{
    gchar* quoted = g_shell_quote(text.toUtf8().constData());
    const QString result = QString::fromUtf8(quoted);
    g_free(quoted);
    return result;
}

QDateTime utc(int year, int month, int day, int hour, int minute, int second, int ms = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms), Qt::UTC);
}

QStringList namesOf(const RecentlyUsedFile::Bookmark& bookmark)
{
    QStringList names;
    for (const RecentlyUsedFile::Application& application : bookmark.applications)
        names << application.name;
    return names;
}

class RecentlyUsedFileTest : public testing::Test
{
protected:
    QString xbelPath() const { return home.dataHome() + QStringLiteral("/recently-used.xbel"); }

    TestHome home;
};

TEST_F(RecentlyUsedFileTest, readsEverythingGLibWrites)
{
    const QString report =
        XbelFiles::fileUri(home.path() + QStringLiteral("/Documents/report final.odt"));
    const QString photo = XbelFiles::fileUri(home.path() + QStringLiteral("/Pictures/été (1).jpg"));
    const QString remote = QStringLiteral("sftp://server/home/u/notes.txt");
    GLibBookmarks writer;
    writer.registerDocument(report, QStringLiteral("LibreOffice"), QStringLiteral("soffice %u"),
                            fileTestNoon.addSecs(-7200), 1);
    writer.registerDocument(report, QStringLiteral("Text Editor"),
                            QStringLiteral("gnome-text-editor %U"), fileTestNoon.addMSecs(-1234),
                            2);
    writer.setTitle(report, QStringLiteral("Report <final> & \"approved\""));
    writer.addGroup(report, QStringLiteral("Office"));
    writer.registerDocument(photo, QStringLiteral("Image Viewer"), QStringLiteral("eog %u"),
                            fileTestNoon);
    writer.setPrivate(photo, true);
    writer.registerDocument(remote, QStringLiteral("Text Editor"),
                            QStringLiteral("gnome-text-editor %U"), fileTestNoon.addDays(-1));
    ASSERT_TRUE(writer.save(xbelPath()));

    const std::optional<QList<GLibBookmarks::Item>> reference = GLibBookmarks::load(xbelPath());
    ASSERT_TRUE(reference);
    const RecentlyUsedFile file = RecentlyUsedFile::load(xbelPath());
    EXPECT_TRUE(file.isComplete()) << file.errorString().toStdString();
    EXPECT_EQ(file.path(), xbelPath());
    ASSERT_EQ(file.bookmarks().size(), reference->size());
    for (qsizetype i = 0; i < reference->size(); ++i) {
        const GLibBookmarks::Item& expected = reference->at(i);
        const RecentlyUsedFile::Bookmark& bookmark = file.bookmarks().at(i);
        EXPECT_EQ(bookmark.href, expected.uri);
        EXPECT_EQ(bookmark.title, expected.title);
        EXPECT_EQ(bookmark.isPrivate, expected.isPrivate);
        QList<RecentlyUsedFile::Application> applications = bookmark.applications;
        std::sort(applications.begin(), applications.end(),
                  [](const auto& a, const auto& b) { return a.name < b.name; });
        ASSERT_EQ(applications.size(), expected.registrations.size());
        for (qsizetype a = 0; a < applications.size(); ++a) {
            EXPECT_EQ(applications.at(a).name, expected.registrations.at(a).name);
            EXPECT_EQ(applications.at(a).count, expected.registrations.at(a).count);
            EXPECT_EQ(applications.at(a).modified, expected.registrations.at(a).stamp);
        }
    }

    const RecentlyUsedFile::Bookmark& first = file.bookmarks().at(0);
    EXPECT_EQ(first.localPath, home.path() + QStringLiteral("/Documents/report final.odt"));
    // GLib stores the exec line shell-quoted as one word.
    ASSERT_EQ(first.applications.size(), 2);
    EXPECT_EQ(first.applications.at(0).exec, shellQuoted(QStringLiteral("soffice %u")));
    EXPECT_EQ(first.applications.at(1).modified, fileTestNoon.addMSecs(-1234));
    EXPECT_EQ(first.lastUsed(), fileTestNoon.addMSecs(-1234));
    EXPECT_EQ(file.bookmarks().at(1).localPath,
              home.path() + QStringLiteral("/Pictures/été (1).jpg"));
    EXPECT_TRUE(file.bookmarks().at(2).localPath.isEmpty());
}

TEST_F(RecentlyUsedFileTest, readsKdeStyleFiles)
{
    // KDE's writer registers the desktop id and an unquoted exec line (sometimes with two field
    // codes), with milliseconds padded to six digits.
    const QString pdf = XbelFiles::fileUri(home.path() + QStringLiteral("/Papers/a.pdf"));
    const QDateTime used = utc(2026, 12, 6, 9, 30, 15, 123);
    const QByteArray text = XbelFiles::document(
        XbelFiles::bookmark(pdf,
                            {{QStringLiteral("org.kde.okular"), QStringLiteral("okular %U %u"),
                              XbelFiles::kdeStamp(used), 3}},
                            XbelFiles::kdeStamp(used),
                            "        <bookmark:groups>\n"
                            "          <bookmark:group>Documents</bookmark:group>\n"
                            "        </bookmark:groups>\n"));
    const RecentlyUsedFile file = RecentlyUsedFile::parse(text);
    EXPECT_TRUE(file.isComplete());
    ASSERT_EQ(file.bookmarks().size(), 1);
    const RecentlyUsedFile::Bookmark& bookmark = file.bookmarks().first();
    ASSERT_EQ(bookmark.applications.size(), 1);
    EXPECT_EQ(bookmark.applications.first().name, QStringLiteral("org.kde.okular"));
    EXPECT_EQ(bookmark.applications.first().exec, QStringLiteral("okular %U %u"));
    EXPECT_EQ(bookmark.applications.first().modified, used);
    EXPECT_EQ(bookmark.applications.first().count, 3);
    EXPECT_EQ(bookmark.modified, used);
    // GLib reads it too.
    EXPECT_TRUE(GLibBookmarks::loadData(text));
}

TEST_F(RecentlyUsedFileTest, oneApplicationWithoutExecCostsOnlyThatElement)
{
    const QString a = XbelFiles::fileUri(QStringLiteral("/home/u/a.txt"));
    const QString b = XbelFiles::fileUri(QStringLiteral("/home/u/b.txt"));
    QByteArray body =
        XbelFiles::bookmark(a, {{QStringLiteral("Text Editor"), QStringLiteral("'gedit %u'"),
                                 QStringLiteral("2026-12-01T10:00:00Z")}});
    body += XbelFiles::bookmark(
        b, {{QStringLiteral("Image Viewer"), QStringLiteral("'eog %u'"),
             QStringLiteral("2026-12-02T10:00:00Z")},
            {QStringLiteral("Scripted"), QString(), QStringLiteral("2026-12-03T10:00:00Z")}});
    // The second application of b loses its exec attribute, as a careless script writes it.
    body.replace("name=\"Scripted\" exec=\"\"", "name=\"Scripted\"");
    const QByteArray text = XbelFiles::document(body);

    QString glibError;
    EXPECT_FALSE(GLibBookmarks::loadData(text, &glibError));
    EXPECT_TRUE(glibError.contains(QStringLiteral("exec"))) << glibError.toStdString();

    const RecentlyUsedFile file = RecentlyUsedFile::parse(text);
    EXPECT_TRUE(file.isComplete());
    ASSERT_EQ(file.bookmarks().size(), 2);
    EXPECT_EQ(namesOf(file.bookmarks().at(0)), QStringList{QStringLiteral("Text Editor")});
    EXPECT_EQ(namesOf(file.bookmarks().at(1)), QStringList{QStringLiteral("Image Viewer")});
}

TEST_F(RecentlyUsedFileTest, skipsBookmarksWithoutTargetsAndApplicationsWithoutNames)
{
    const QByteArray text = XbelFiles::document(
        "  <bookmark added=\"2026-12-01T10:00:00Z\"><info><metadata "
        "owner=\"http://freedesktop.org\">"
        "<bookmark:applications><bookmark:application name=\"A\" exec=\"a\"/>"
        "</bookmark:applications></metadata></info></bookmark>\n"
        "  <bookmark href=\"\"><info><metadata owner=\"http://freedesktop.org\">"
        "<bookmark:applications><bookmark:application name=\"A\" exec=\"a\"/>"
        "</bookmark:applications></metadata></info></bookmark>\n"
        "  <bookmark href=\"file:///kept\"><info><metadata owner=\"http://freedesktop.org\">"
        "<bookmark:applications><bookmark:application exec=\"nameless\"/>"
        "<bookmark:application name=\"  \" exec=\"blank\"/>"
        "<bookmark:application name=\"B\" exec=\"\"/>"
        "</bookmark:applications></metadata></info></bookmark>\n");
    const RecentlyUsedFile file = RecentlyUsedFile::parse(text);
    EXPECT_TRUE(file.isComplete());
    ASSERT_EQ(file.bookmarks().size(), 1);
    EXPECT_EQ(file.bookmarks().first().href, QStringLiteral("file:///kept"));
    // An empty exec attribute is still an exec attribute; the name alone can find the
    // application.
    EXPECT_EQ(namesOf(file.bookmarks().first()), QStringList{QStringLiteral("B")});
}

TEST_F(RecentlyUsedFileTest, datesFallBackToOlderFormsAndToTheBookmarkNeverToNow)
{
    const QByteArray text = XbelFiles::document(
        "  <bookmark href=\"file:///a\" added=\"2026-11-01T08:00:00Z\" "
        "modified=\"2026-11-02T08:00:00Z\">\n"
        "    <info><metadata owner=\"http://freedesktop.org\"><bookmark:applications>\n"
        "      <bookmark:application name=\"Legacy\" exec=\"l\" timestamp=\"1128121528\"/>\n"
        "      <bookmark:application name=\"Both\" exec=\"b\" modified=\"2026-11-03T08:00:00Z\" "
        "timestamp=\"1128121528\"/>\n"
        "      <bookmark:application name=\"BadDate\" exec=\"d\" modified=\"yesterday\"/>\n"
        "      <bookmark:application name=\"None\" exec=\"n\"/>\n"
        "      <bookmark:application name=\"BadCount\" exec=\"c\" count=\"many\"/>\n"
        "    </bookmark:applications></metadata></info>\n"
        "  </bookmark>\n"
        "  <bookmark href=\"file:///b\" added=\"2026-10-01T08:00:00Z\" modified=\"never\">\n"
        "    <info><metadata owner=\"http://freedesktop.org\"><bookmark:applications>\n"
        "      <bookmark:application name=\"None\" exec=\"n\"/>\n"
        "    </bookmark:applications></metadata></info>\n"
        "  </bookmark>\n"
        "  <bookmark href=\"file:///c\">\n"
        "    <info><metadata owner=\"http://freedesktop.org\"><bookmark:applications>\n"
        "      <bookmark:application name=\"None\" exec=\"n\"/>\n"
        "    </bookmark:applications></metadata></info>\n"
        "  </bookmark>\n");
    const RecentlyUsedFile file = RecentlyUsedFile::parse(text);
    ASSERT_EQ(file.bookmarks().size(), 3);
    const QList<RecentlyUsedFile::Application>& a = file.bookmarks().at(0).applications;
    ASSERT_EQ(a.size(), 5);
    EXPECT_EQ(a.at(0).modified, QDateTime::fromSecsSinceEpoch(1128121528, Qt::UTC));
    EXPECT_EQ(a.at(1).modified, utc(2026, 11, 3, 8, 0, 0));
    EXPECT_EQ(a.at(2).modified, utc(2026, 11, 2, 8, 0, 0));
    EXPECT_EQ(a.at(3).modified, utc(2026, 11, 2, 8, 0, 0));
    EXPECT_EQ(a.at(4).count, 1);
    EXPECT_EQ(file.bookmarks().at(0).lastUsed(), utc(2026, 11, 3, 8, 0, 0));
    // No modification date: the date it was added.
    EXPECT_EQ(file.bookmarks().at(1).applications.first().modified, utc(2026, 10, 1, 8, 0, 0));
    // No date anywhere: none, rather than the moment of reading.
    EXPECT_FALSE(file.bookmarks().at(2).applications.first().modified.isValid());
    EXPECT_FALSE(file.bookmarks().at(2).lastUsed().isValid());
}

TEST(RecentlyUsedTimestamps, readsEveryFormWritersUse)
{
    struct Case
    {
        const char16_t* text;
        QDateTime expected;
    };
    const Case cases[] = {
        {u"2026-12-07T21:05:28.002347Z", utc(2026, 12, 7, 21, 5, 28, 2)},
        {u"2026-12-07T21:05:28.123000Z", utc(2026, 12, 7, 21, 5, 28, 123)},
        {u"2026-12-07T21:05:28.5Z", utc(2026, 12, 7, 21, 5, 28, 500)},
        {u"2026-12-07T21:05:28,25Z", utc(2026, 12, 7, 21, 5, 28, 250)},
        {u"2026-12-07T21:05:28.123456789Z", utc(2026, 12, 7, 21, 5, 28, 123)},
        {u"2026-12-07T21:05:28Z", utc(2026, 12, 7, 21, 5, 28)},
        {u"2026-12-07t21:05:28z", utc(2026, 12, 7, 21, 5, 28)},
        {u"2026-12-07 21:05:28Z", utc(2026, 12, 7, 21, 5, 28)},
        {u"20261207T210528Z", utc(2026, 12, 7, 21, 5, 28)},
        {u"20050930T23:05:28Z", utc(2005, 9, 30, 23, 5, 28)},
        {u"2026-12-07T23:05:28+02:00", utc(2026, 12, 7, 21, 5, 28)},
        {u"2026-12-07T23:05:28+0200", utc(2026, 12, 7, 21, 5, 28)},
        {u"2026-12-07T23:05:28+02", utc(2026, 12, 7, 21, 5, 28)},
        {u"2026-12-07T15:35:28.100-05:30", utc(2026, 12, 7, 21, 5, 28, 100)},
        {u"2026-12-31T23:59:60Z", utc(2026, 12, 31, 23, 59, 59)},
        {u" 2026-12-07T21:05:28Z ", utc(2026, 12, 7, 21, 5, 28)},
        {u"2024-02-29T00:00:00Z", utc(2024, 2, 29, 0, 0, 0)},
        {u"1969-12-31T23:59:59.999Z", utc(1969, 12, 31, 23, 59, 59, 999)},
        {u"0001-01-01T00:30:00+01:00", utc(-1, 12, 31, 23, 30, 0)},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(RecentlyUsedFile::parseTimestamp(text), c.expected) << text.toStdString();
    }
    // Without a zone: local time, as ISO 8601 has it.
    EXPECT_EQ(RecentlyUsedFile::parseTimestamp(u"2026-12-07T21:05:28"),
              QDateTime(QDate(2026, 12, 7), QTime(21, 5, 28), Qt::LocalTime).toUTC());

    for (const char16_t* bad :
         {u"", u"garbage", u"2026-13-01T00:00:00Z", u"2026-02-30T00:00:00Z",
          u"2026-00-10T00:00:00Z", u"2026-12-00T00:00:00Z", u"0000-01-01T00:00:00Z",
          u"2100-02-29T00:00:00Z", u"2026-12-07T24:00:00Z", u"2026-12-07T21:05Z", u"2026-12-07",
          u"2026-12-07T21:05:28Q", u"2026-12-07T21:05:28Zjunk", u"2026-12-07T21:05:28.Z",
          u"2026-12-07T21:05:28+2", u"2026-12-07T21:05:28+24:00", u"2T0+819855292164632335",
          u"2026-1207T21:05:28Z", u"2026-12-07T21:0528Z"}) {
        const QString text = QString::fromUtf16(bad);
        EXPECT_FALSE(RecentlyUsedFile::parseTimestamp(text).isValid()) << text.toStdString();
    }
}

TEST(RecentlyUsedLocalPaths, decodesFileUrisToOnePathPerFile)
{
    const QString expected = QStringLiteral("/home/u/My Docs/Über (draft)+1;2.txt");
    // GLib leaves '()+' unescaped and escapes ';'; other writers escape differently.
    for (const char16_t* href : {u"file:///home/u/My%20Docs/%C3%9Cber%20(draft)+1%3B2.txt",
                                 u"file:///home/u/My%20Docs/%C3%9Cber%20%28draft%29%2B1;2.txt",
                                 u"FILE:///home/u/My%20Docs/%c3%9cber%20(draft)+1;2.txt",
                                 u"file://localhost/home/u/My%20Docs/%C3%9Cber%20(draft)+1;2.txt",
                                 u"file:/home/u/My%20Docs/%C3%9Cber%20(draft)+1;2.txt",
                                 u"file:///home/u/My%20Docs/Über%20(draft)+1;2.txt",
                                 u"file:///home/u/./My%20Docs//%C3%9Cber%20(draft)+1;2.txt"}) {
        const QString text = QString::fromUtf16(href);
        EXPECT_EQ(RecentlyUsedFile::localPathOf(text), expected) << text.toStdString();
    }
    EXPECT_EQ(RecentlyUsedFile::localPathOf(u"file:///home/u/Folder/"),
              QStringLiteral("/home/u/Folder"));
    EXPECT_EQ(RecentlyUsedFile::localPathOf(u"file:///"), QStringLiteral("/"));
    EXPECT_EQ(RecentlyUsedFile::localPathOf(u"file:///what?.txt"), QStringLiteral("/what?.txt"));

    for (const char16_t* href :
         {u"", u"sftp://server/home/u/a.txt", u"smb://nas/share/a.txt", u"trash:///a.txt",
          u"recent:///abc", u"https://example.org/a.pdf", u"file://server/home/u/a.txt",
          u"file:relative/a.txt", u"file://", u"file:///a%2Fb", u"file:///a%00b", u"file:///a%zzb",
          u"file:///a%2", u"file:///a#fragment", u"/home/u/plain path"}) {
        const QString text = QString::fromUtf16(href);
        EXPECT_TRUE(RecentlyUsedFile::localPathOf(text).isEmpty()) << text.toStdString();
    }
}

TEST_F(RecentlyUsedFileTest, readsFilesWithoutPrefixesUndeclaredPrefixesAndForeignMetadata)
{
    // Unprefixed elements (GLib accepts them), a prefix nobody declared, metadata of another
    // owner (ignored), metadata with no owner, a private flag and a title.
    const QByteArray text =
        "<?xml version=\"1.0\"?>\n<xbel version=\"1.0\">\n"
        "<bookmark href=\"file:///a\"><title>Alpha</title><info>\n"
        "  <metadata owner=\"http://freedesktop.org\"><applications>"
        "<application name=\"Plain\" exec=\"plain %u\" modified=\"2026-12-01T00:00:00Z\"/>"
        "</applications><private/></metadata>\n"
        "  <metadata owner=\"http://example.org/other\"><applications>"
        "<application name=\"Foreign\" exec=\"f\"/></applications><private/></metadata>\n"
        "</info></bookmark>\n"
        "<bookmark href=\"file:///b\"><info><metadata>"
        "<bm:applications><bm:application name=\"Undeclared\" exec=\"u\"/></bm:applications>"
        "</metadata></info></bookmark>\n"
        "</xbel>\n";
    const RecentlyUsedFile file = RecentlyUsedFile::parse(text);
    EXPECT_TRUE(file.isComplete()) << file.errorString().toStdString();
    ASSERT_EQ(file.bookmarks().size(), 2);
    EXPECT_EQ(file.bookmarks().at(0).title, QStringLiteral("Alpha"));
    EXPECT_TRUE(file.bookmarks().at(0).isPrivate);
    EXPECT_EQ(namesOf(file.bookmarks().at(0)), QStringList{QStringLiteral("Plain")});
    EXPECT_FALSE(file.bookmarks().at(1).isPrivate);
    EXPECT_EQ(namesOf(file.bookmarks().at(1)), QStringList{QStringLiteral("Undeclared")});
}

TEST_F(RecentlyUsedFileTest, keepsEveryCompleteBookmarkOfATruncatedFile)
{
    GLibBookmarks writer;
    for (int i = 0; i < 6; ++i)
        writer.registerDocument(XbelFiles::fileUri(QStringLiteral("/home/u/doc%1.txt").arg(i)),
                                QStringLiteral("Text Editor"), QStringLiteral("gedit %u"),
                                fileTestNoon.addSecs(-i));
    const QByteArray whole = writer.data();
    const RecentlyUsedFile full = RecentlyUsedFile::parse(whole);
    ASSERT_TRUE(full.isComplete());
    ASSERT_EQ(full.bookmarks().size(), 6);

    // Every prefix of the file: the bookmarks read are the first ones of the whole file, and
    // every one whose end tag made it is there.
    for (qsizetype length = 0; length < whole.size(); ++length) {
        const QByteArray prefix = whole.left(length);
        const RecentlyUsedFile file = RecentlyUsedFile::parse(prefix);
        EXPECT_FALSE(file.isComplete()) << length;
        const qsizetype closed = prefix.count("</bookmark>");
        ASSERT_EQ(file.bookmarks().size(), closed) << length;
        for (qsizetype i = 0; i < closed; ++i)
            EXPECT_EQ(file.bookmarks().at(i), full.bookmarks().at(i)) << length;
    }
}

TEST_F(RecentlyUsedFileTest, missingEmptyOddAndOversizedFilesHaveNoBookmarks)
{
    EXPECT_TRUE(RecentlyUsedFile::load(xbelPath()).bookmarks().isEmpty());
    EXPECT_EQ(RecentlyUsedFile::load(xbelPath()).errorString(), QStringLiteral("No such file"));

    for (const QByteArray& bytes :
         {QByteArray(), QByteArray("   \n"), QByteArray("garbage"), QByteArray("\0\0\0\0", 4),
          QByteArray("<xbel version=\"1.0\"/>"),
          QByteArray("<notxbel><bookmark href=\"file:///a\"/></notxbel>"),
          QByteArray("\xff\xfe<\0x\0"),
          QByteArray("<?xml version=\"1.0\"?><xbel><bookmark href=\"")}) {
        home.writeFile(xbelPath(), bytes);
        const RecentlyUsedFile file = RecentlyUsedFile::load(xbelPath());
        EXPECT_TRUE(file.bookmarks().isEmpty()) << bytes.toStdString();
    }

    // A folder in its place, and a FIFO (which would block a plain read forever).
    QFile::remove(xbelPath());
    ASSERT_EQ(::mkdir(QFile::encodeName(xbelPath()).constData(), 0700), 0);
    EXPECT_TRUE(RecentlyUsedFile::load(xbelPath()).bookmarks().isEmpty());
    ASSERT_EQ(::rmdir(QFile::encodeName(xbelPath()).constData()), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(xbelPath()).constData(), 0600), 0);
    EXPECT_TRUE(RecentlyUsedFile::load(xbelPath()).bookmarks().isEmpty());
    EXPECT_EQ(RecentlyUsedFile::load(xbelPath()).errorString(),
              QStringLiteral("Not a regular file"));
    QFile::remove(xbelPath());

    // Unreadable.
    home.writeFile(xbelPath(), XbelFiles::document(XbelFiles::bookmark(
                                   QStringLiteral("file:///a"),
                                   {{QStringLiteral("A"), QStringLiteral("a"), {}}})));
    if (::geteuid() != 0) {
        ASSERT_TRUE(QFile::setPermissions(xbelPath(), QFileDevice::WriteOwner));
        EXPECT_TRUE(RecentlyUsedFile::load(xbelPath()).bookmarks().isEmpty());
        QFile::setPermissions(xbelPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    EXPECT_EQ(RecentlyUsedFile::load(xbelPath()).bookmarks().size(), 1);

    // Larger than any real one: refused without being read (a sparse file costs no disk).
    QFile big(xbelPath());
    ASSERT_TRUE(big.resize(RecentlyUsedFile::maximumFileSize + 1));
    const RecentlyUsedFile refused = RecentlyUsedFile::load(xbelPath());
    EXPECT_TRUE(refused.bookmarks().isEmpty());
    EXPECT_EQ(refused.errorString(), QStringLiteral("File too large"));
}

TEST_F(RecentlyUsedFileTest, boundsNestingAndEntityExpansion)
{
    // Bookmarks inside XBEL folders are read; nesting beyond any real file stops the reading
    // without exhausting anything.
    QByteArray nested = "<xbel><folder><bookmark href=\"file:///in-folder\"><info><metadata>"
                        "<applications><application name=\"A\" exec=\"a\"/></applications>"
                        "</metadata></info></bookmark>";
    for (int i = 0; i < 10000; ++i)
        nested += "<folder>";
    nested += "<bookmark href=\"file:///too-deep\"/>";
    for (int i = 0; i < 10000; ++i)
        nested += "</folder>";
    nested += "</folder></xbel>";
    const RecentlyUsedFile deep = RecentlyUsedFile::parse(nested);
    EXPECT_FALSE(deep.isComplete());
    ASSERT_EQ(deep.bookmarks().size(), 1);
    EXPECT_EQ(deep.bookmarks().first().href, QStringLiteral("file:///in-folder"));

    // Entities that expand to a billion characters.
    QByteArray laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE xbel [\n<!ENTITY l0 \"ha\">\n";
    for (int i = 1; i < 10; ++i)
        laughs +=
            QStringLiteral("<!ENTITY l%1 \"&l%2;&l%2;&l%2;&l%2;&l%2;&l%2;&l%2;&l%2;&l%2;&l%2;\">\n")
                .arg(i)
                .arg(i - 1)
                .toUtf8();
    laughs += "]>\n<xbel><bookmark href=\"file:///a\"><title>&l9;</title></bookmark></xbel>";
    const RecentlyUsedFile bomb = RecentlyUsedFile::parse(laughs);
    EXPECT_FALSE(bomb.isComplete());
    EXPECT_TRUE(bomb.bookmarks().isEmpty());
}

TEST_F(RecentlyUsedFileTest, readsOtherEncodingsTheXmlDeclares)
{
    const QByteArray utf8 = XbelFiles::document(
        XbelFiles::bookmark(XbelFiles::fileUri(QStringLiteral("/home/u/é.txt")),
                            {{QStringLiteral("Éditeur"), QStringLiteral("'gedit %u'"), {}}}));
    QByteArray utf16 = "\xff\xfe";
    const QString text =
        QString::fromUtf8(utf8).replace(QStringLiteral("UTF-8"), QStringLiteral("UTF-16"));
    utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    const RecentlyUsedFile file = RecentlyUsedFile::parse(utf16);
    EXPECT_TRUE(file.isComplete()) << file.errorString().toStdString();
    ASSERT_EQ(file.bookmarks().size(), 1);
    EXPECT_EQ(file.bookmarks().first().localPath, QStringLiteral("/home/u/é.txt"));
    EXPECT_EQ(namesOf(file.bookmarks().first()), QStringList{QStringLiteral("Éditeur")});
}

TEST_F(RecentlyUsedFileTest, readsFiftyThousandBookmarks)
{
    const QByteArray text =
        XbelFiles::generated(50000, 30, home.path() + QStringLiteral("/docs"), fileTestNoon);
    QElapsedTimer timer;
    timer.start();
    const RecentlyUsedFile file = RecentlyUsedFile::parse(text);
    const qint64 elapsed = timer.elapsed();
    EXPECT_TRUE(file.isComplete());
    ASSERT_EQ(file.bookmarks().size(), 50000);
    EXPECT_EQ(file.bookmarks().last().localPath,
              home.path() + QStringLiteral("/docs/document 49999.txt"));
    EXPECT_EQ(file.bookmarks().at(7).applications.first().name, QStringLiteral("Application 7"));
    RecordProperty("bytes", int(text.size()));
    RecordProperty("parse_ms", int(elapsed));
    std::cout << "50,000 bookmarks, " << text.size() << " bytes: parsed in " << elapsed << " ms\n";
}
} // namespace

namespace {
TEST(RecentlyUsedLocalPaths, onlyPathsCleaningWouldChangeAreCleaned)
{
    const std::pair<const char16_t*, bool> cases[] = {
        {u"/", false},
        {u"/home/u/a.txt", false},
        {u"/home/u/a.b.txt", false},
        {u"/home//u", true},
        {u"/home/./u", true},
        {u"/home/../u", true},
        {u"/home/u/", true},
        {u"/home/u/.", true},
        {u"/home/.hidden", true},
        {u"home/u", true},
        {u"./u", true},
        {u"", true},
    };
    for (const auto& [text, mayNeed] : cases) {
        const QString path = QString::fromUtf16(text);
        EXPECT_EQ(RecentlyUsedFile::mayNeedCleaning(path), mayNeed) << path.toStdString();
        if (!mayNeed) {
            EXPECT_EQ(QDir::cleanPath(path), path);
        }
    }
}
} // namespace
