// The quick reader against QXmlStreamReader: for every document the quick one accepts, both find
// exactly the same bookmarks; everything else is left to QXmlStreamReader. Checked on real files,
// on every prefix of a file, on constructs writers use, and on many thousands of damaged files.

#include "GLibBookmarks.h"
#include "RecentlyUsedReader.h"
#include "XbelFiles.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <random>

namespace {
const QString scannerSamples = QStringLiteral(VORLANE_SHARED_FIXTURES);
const QDateTime scannerNoon(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC);

// Both readers agree; returns whether the quick one accepted the document.
bool readersAgree(const QByteArray& bytes, const std::string& label)
{
    const std::optional<RecentlyUsedFile> quick = RecentlyUsedReader::readQuickly(bytes);
    if (!quick)
        return false;
    const RecentlyUsedFile thorough = RecentlyUsedReader::readThoroughly(bytes);
    EXPECT_TRUE(thorough.isComplete())
        << label << ": accepted a document QXmlStreamReader refuses ("
        << thorough.errorString().toStdString() << ")";
    EXPECT_EQ(quick->bookmarks(), thorough.bookmarks()) << label;
    return true;
}

QByteArray glibFile()
{
    GLibBookmarks writer;
    const QString shared = XbelFiles::fileUri(QStringLiteral("/home/u/Docs/plan (v2) & notes.odt"));
    writer.registerDocument(shared, QStringLiteral("LibreOffice"), QStringLiteral("soffice %u"),
                            scannerNoon.addSecs(-100), 2);
    writer.registerDocument(shared, QStringLiteral("Text Editor"),
                            QStringLiteral("gnome-text-editor %U"), scannerNoon);
    writer.setTitle(shared, QStringLiteral("Plan <v2> & \"notes\" 'draft'"));
    writer.addGroup(shared, QStringLiteral("Office"));
    writer.setMimeType(shared, QStringLiteral("application/vnd.oasis.opendocument.text"));
    const QString photo = XbelFiles::fileUri(QStringLiteral("/home/u/Pictures/été.jpg"));
    writer.registerDocument(photo, QStringLiteral("Image Viewer"), QStringLiteral("eog %u"),
                            scannerNoon.addDays(-1));
    writer.setPrivate(photo, true);
    return writer.data();
}

TEST(XbelScanner, acceptsWhatGLibAndKdeWriteAndFindsTheSame)
{
    EXPECT_TRUE(readersAgree(glibFile(), "GLib"));
    const QByteArray kde = XbelFiles::document(
        XbelFiles::bookmark(QStringLiteral("file:///home/u/a.pdf"),
                            {{QStringLiteral("org.kde.okular"), QStringLiteral("okular %U %u"),
                              XbelFiles::kdeStamp(scannerNoon), 3}},
                            XbelFiles::kdeStamp(scannerNoon)));
    EXPECT_TRUE(readersAgree(kde, "KDE"));
    EXPECT_TRUE(readersAgree(
        XbelFiles::generated(500, 30, QStringLiteral("/home/u/Documents"), scannerNoon),
        "generated"));
}

TEST(XbelScanner, agreesOnEveryRealSample)
{
    if (!QFileInfo::exists(scannerSamples + QStringLiteral("/xbel_expected.json")))
        GTEST_SKIP() << "the shared real samples are not at " << scannerSamples.toStdString();
    int accepted = 0;
    QDirIterator files(scannerSamples, {QStringLiteral("*.xbel")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        accepted += readersAgree(file.readAll(), path.toStdString()) ? 1 : 0;
    }
    // The real user's file and GLib's well-formed samples.
    EXPECT_GE(accepted, 15);
}

TEST(XbelScanner, agreesOnConstructsWritersUse)
{
    const QByteArray bookmark =
        "<bookmark href=\"file:///a\"><title>T</title><info><metadata "
        "owner=\"http://freedesktop.org\"><bookmark:applications><bookmark:application "
        "name=\"A\" exec=\"a\"/></bookmark:applications></metadata></info></bookmark>";
    const QByteArray ns =
        " xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"";
    struct Case
    {
        const char* label;
        QByteArray document;
        bool quick;
    };
    const Case cases[] = {
        {"plain", "<xbel" + ns + ">" + bookmark + "</xbel>", true},
        {"declaration",
         "<?xml version=\"1.0\" encoding=\"utf-8\" standalone='yes'?>\n<xbel" + ns + ">" +
             bookmark + "</xbel>\n\n",
         true},
        {"byte order mark", "\xEF\xBB\xBF<?xml version=\"1.0\"?><xbel>" + bookmark + "</xbel>",
         true},
        {"doctype",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE xbel\n  PUBLIC \"+//IDN python.org//DTD "
         "XML Bookmark Exchange Language 1.0//EN//XML\"\n  "
         "\"http://www.python.org/topics/xml/dtds/xbel-1.0.dtd\">\n<xbel>" +
             bookmark + "</xbel>",
         true},
        {"comments and instructions",
         "<!-- a -->\n<?tool x?>\n<xbel><!-- b -->" + bookmark + "<?tool?></xbel><!---->\n", true},
        {"line ends and white space in values",
         "<xbel>\r\n<bookmark href=\"file:///a\r\nb\tc\nd&#10;e&#x9;f\"><title>x\r\ny\rz</title>"
         "</bookmark>\r\n</xbel>\r\n",
         true},
        {"references",
         "<xbel><bookmark href='file:///&lt;&gt;&amp;&quot;&apos;&#233;&#x1F600;'>"
         "<title>&lt;b&gt; &amp; &#x20AC;</title></bookmark></xbel>",
         true},
        {"cdata",
         "<xbel><bookmark href=\"file:///a\"><title>a<![CDATA[<&amp;>\r\n]]>b</title>"
         "</bookmark></xbel>",
         true},
        {"title with children",
         "<xbel><bookmark href=\"file:///a\"><title>a<b>x</b>c</title>"
         "</bookmark></xbel>",
         true},
        {"unprefixed and foreign",
         "<xbel><bookmark href=\"file:///a\"><info><metadata>"
         "<applications><application name=\"A\" exec=\"a\"/>"
         "</applications><private/></metadata><metadata owner=\"x\">"
         "<applications><application name=\"B\" exec=\"b\"/>"
         "</applications></metadata></info></bookmark></xbel>",
         true},
        {"folders",
         "<xbel><folder><title>F</title><folder>" + bookmark + "</folder></folder></xbel>", true},
        {"spaces in tags", "<xbel ><bookmark\n href = 'file:///a' ></bookmark ></xbel >", true},
        // A byte order mark inside the document is a character, at the start of a value too.
        {"byte order marks in text and values",
         "<xbel><bookmark href=\"\xEF\xBB\xBF"
         "file:///a\"><title>\xEF\xBB\xBF"
         "t<!---->\xEF\xBB\xBF\xEF\xBB\xBF"
         "u</title></bookmark><bookmark href='&#xFEFF;file:///b'><title><![CDATA[\xEF\xBB\xBF"
         "c]]></title><info><metadata><applications><application name=\"\xEF\xBB\xBF"
         "A\" exec=\"\xEF\xBB\xBF"
         "a\"/></applications></metadata></info></bookmark></xbel>",
         true},
        // Left to QXmlStreamReader.
        {"internal subset", "<!DOCTYPE xbel [<!ENTITY e \"x\">]><xbel>" + bookmark + "</xbel>",
         false},
        {"declared encoding", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><xbel/>", false},
        {"unknown entity", "<xbel><bookmark href=\"&nbsp;\"/></xbel>", false},
        {"bad character reference", "<xbel><bookmark href=\"&#0;\"/></xbel>", false},
        {"duplicate attribute", "<xbel><bookmark href=\"a\" href=\"b\"/></xbel>", false},
        {"missing space", "<xbel><bookmark href=\"a\"added=\"b\"/></xbel>", false},
        {"unclosed", "<xbel>" + bookmark, false},
        {"mismatched", "<xbel>" + bookmark + "</xbell>", false},
        {"second root", "<xbel/><xbel/>", false},
        {"text outside", "<xbel/>x", false},
        {"cdata end in text", "<xbel>]]></xbel>", false},
        {"less-than in value", "<xbel><bookmark href=\"<\"/></xbel>", false},
        {"control character", "<xbel>\x01</xbel>", false},
        {"bad UTF-8", "<xbel>\xC3\x28</xbel>", false},
        {"surrogate", "<xbel>\xED\xA0\x80</xbel>", false},
        {"declaration late", " <?xml version=\"1.0\"?><xbel/>", false},
        {"two colons", "<a:b:c/>", false},
        {"non-ASCII name", "<xbel><b\xC3\xA9/></xbel>", false},
        {"double dash in comment", "<xbel><!-- a -- b --></xbel>", false},
        {"empty", "", false},
    };
    for (const Case& c : cases) {
        const bool quick = readersAgree(c.document, c.label);
        EXPECT_EQ(quick, c.quick) << c.label;
        if (!quick) {
            // What the full reader makes of it is what a load gives.
            EXPECT_EQ(RecentlyUsedReader::read(c.document).bookmarks(),
                      RecentlyUsedReader::readThoroughly(c.document).bookmarks())
                << c.label;
        }
    }
}

// QXmlStreamReader (Qt 6.4) refuses well-formed names longer than 4,096 bytes; the quick reader
// takes them, as GLib does, so a foreign element with such a name costs no history.
TEST(XbelScanner, readsNamesLongerThanQXmlStreamReaderTakes)
{
    const auto documentWith = [](const QByteArray& foreignName) {
        return "<xbel><bookmark href=\"file:///a\"><info><metadata "
               "owner=\"http://freedesktop.org\"><" +
               foreignName +
               "/><applications><application name=\"A\" exec=\"a\" "
               "modified=\"2026-12-07T12:00:00Z\" count=\"1\"/></applications></metadata></info>"
               "</bookmark></xbel>";
    };
    const std::optional<RecentlyUsedFile> quick =
        RecentlyUsedReader::readQuickly(documentWith(QByteArray(5000, 'x')));
    ASSERT_TRUE(quick);
    EXPECT_EQ(quick->bookmarks().size(), 1);
    EXPECT_EQ(quick->bookmarks(),
              RecentlyUsedReader::readThoroughly(documentWith("x")).bookmarks());
}

// Targets, dates, counts and owners are read straight from the document's bytes where they read
// the same decoded, and as text otherwise: both ways find what QXmlStreamReader finds.
TEST(XbelScanner, agreesOnValuesReadFromTheBytes)
{
    const auto documentWith = [](const QByteArray& href, const QByteArray& stamp,
                                 const QByteArray& count, const QByteArray& owner) {
        return "<xbel><bookmark href=\"" + href + "\" added=\"" + stamp + "\" modified=\"" + stamp +
               "\"><info><metadata owner=\"" + owner +
               "\"><applications><application name=\"A\" exec=\"a\" modified=\"" + stamp +
               "\" count=\"" + count + "\"/></applications></metadata></info></bookmark></xbel>";
    };
    const QByteArray hrefs[] = {"file:///home/u/a%20b.txt",
                                " \tfile:///a.txt  ",
                                "FILE:///a",
                                "file:/a/b",
                                "file://localhost/a",
                                "file://LocalHost/a",
                                "file://server/a",
                                "file://",
                                "file:",
                                "file:///a%2Fb",
                                "file:///a%2fb",
                                "file:///a%00b",
                                "file:///a%zz",
                                "file:///a%2",
                                "file:///a%",
                                "file:///a#b",
                                "file:///%C3%A9t%C3%A9/%FF%FE",
                                "file:///été/文書😀",
                                "file:///a//./b/../c/",
                                "file:///",
                                "sftp://host/a",
                                "relative/a",
                                "",
                                "\xC2\xA0"
                                "file:///a",
                                "file:///a\xC2\xA0",
                                "\xE3\x80\x80"
                                "file:///a",
                                "file://localho\xC5\xBFt/a",
                                "fil\xC3\xA9:///a",
                                "file:///a&amp;b",
                                "file:///&#x41;",
                                "file:///a&#10;b",
                                "file:///a\nb",
                                "file:///a\r\nb",
                                "file:///a\tb"};
    const QByteArray stamps[] = {"2026-12-08T21:00:31Z",
                                 "2026-12-08T21:00:31.4Z",
                                 "2026-12-08T21:00:31.438Z",
                                 "2026-12-08T21:00:31.438123456Z",
                                 "2026-12-08T21:00:31.Z",
                                 "2026-12-08T21:00:31.43xZ",
                                 "2026-12-08T23:59:60Z",
                                 "2026-12-08T24:00:00Z",
                                 "2026-12-08T21:60:00Z",
                                 "2026-02-29T00:00:00Z",
                                 "2024-02-29T00:00:00Z",
                                 "2026-13-01T00:00:00Z",
                                 "0000-01-01T00:00:00Z",
                                 "0001-01-01T00:00:00Z",
                                 "9999-12-31T23:59:59.999Z",
                                 "2026-12-08t21:00:31Z",
                                 "2026-12-08 21:00:31Z",
                                 "2026-12-08T21:00:31z",
                                 "20261208T210031Z",
                                 "2026-12-08T21:00:31+01:00",
                                 "2026-12-08T21:00:31",
                                 " 2026-12-08T21:00:31Z",
                                 "2026-12-08T21:00:31Z ",
                                 "2026-12-08T21:00:3&#x31;Z",
                                 "2026-12-08T21:00:31ZZ",
                                 "",
                                 "yesterday"};
    const QByteArray counts[] = {"1",  "0",  "7",  "007", "123456789", "1234567890", "99999999999",
                                 "-1", "+3", " 4", "4 ",  "x",         "",           "&#x35;"};
    const QByteArray owners[] = {"http://freedesktop.org",
                                 "",
                                 "http://freedesktop.org ",
                                 "http:&#x2F;/freedesktop.org",
                                 "http://freedesktop.org/",
                                 "HTTP://FREEDESKTOP.ORG",
                                 "x"};
    for (const QByteArray& href : hrefs) {
        const QByteArray document = documentWith(href, stamps[2], counts[0], owners[0]);
        EXPECT_TRUE(readersAgree(document, "href " + href.toStdString()));
        EXPECT_EQ(RecentlyUsedFile::localPathOfUtf8(href),
                  RecentlyUsedFile::localPathOf(QString::fromUtf8(href)))
            << href.toStdString();
    }
    for (const QByteArray& stamp : stamps)
        EXPECT_TRUE(readersAgree(documentWith(hrefs[0], stamp, counts[0], owners[0]),
                                 "stamp " + stamp.toStdString()));
    for (const QByteArray& count : counts)
        EXPECT_TRUE(readersAgree(documentWith(hrefs[0], stamps[0], count, owners[0]),
                                 "count " + count.toStdString()));
    for (const QByteArray& owner : owners)
        EXPECT_TRUE(readersAgree(documentWith(hrefs[0], stamps[0], counts[0], owner),
                                 "owner " + owner.toStdString()));
}

TEST(XbelScanner, agreesOnEveryPrefix)
{
    const QByteArray whole = glibFile();
    for (qsizetype length = 0; length <= whole.size(); ++length)
        readersAgree(whole.left(length), "prefix " + std::to_string(length));
}

TEST(XbelScanner, agreesOnDamagedFiles)
{
    const QByteArray originals[] = {
        glibFile(),
        "<?xml version=\"1.0\"?>\r\n<!DOCTYPE xbel PUBLIC \"a\" \"b\">\r\n<xbel><!--c--><?p q?>"
        "<bookmark href=\"file:///x&amp;y\" added=\"2026-12-01T10:00:00Z\"><title>t&lt;"
        "<![CDATA[c]]></title><info><metadata><applications><application name=\"A\" exec=\"a\" "
        "count=\"2\" timestamp=\"1128121528\"/></applications><private/></metadata></info>"
        "</bookmark></xbel>\r\n",
    };
    const char interesting[] = "<>&;\"'/!?-[] \r\n\t\0\xC3\x80x:=#";
    std::mt19937 random(20261207);
    int accepted = 0;
    int total = 0;
    for (const QByteArray& original : originals) {
        for (int round = 0; round < 20000; ++round) {
            QByteArray damaged = original;
            const int edits = 1 + int(random() % 3);
            for (int e = 0; e < edits; ++e) {
                const qsizetype at = qsizetype(random() % quint32(damaged.size()));
                const char c = interesting[random() % (sizeof(interesting) - 1)];
                switch (random() % 3) {
                case 0:
                    damaged[at] = c;
                    break;
                case 1:
                    damaged.insert(at, c);
                    break;
                default:
                    damaged.remove(at, 1 + qsizetype(random() % 4));
                    break;
                }
                if (damaged.isEmpty())
                    damaged = "<";
            }
            ++total;
            if (readersAgree(damaged, "damaged " + std::to_string(total) + ": " +
                                          damaged.toPercentEncoding(" <>/=\"'").toStdString()))
                ++accepted;
            if (HasFailure())
                return;
        }
    }
    std::cout << accepted << " of " << total << " damaged files read quickly, all alike\n";
}
} // namespace
