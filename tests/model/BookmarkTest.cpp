#include "Bookmark.h"

#include "BookmarkWriter.h"
#include "QtPrinters.h"
#include "TestHome.h"

#include <QDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <climits>

namespace {
BookmarkWriter::Contents contentsFor(const QStringList& components)
{
    BookmarkWriter::Contents contents;
    contents.pathComponents = components;
    return contents;
}

void setWord(QByteArray& bytes, qsizetype offset, quint32 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

quint32 wordAt(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

TEST(Bookmark, decodesWhatItWasWrittenWith)
{
    BookmarkWriter::Contents contents = contentsFor(
        {QStringLiteral("Users"), QStringLiteral("zoë"), QStringLiteral("Q3 plan.key")});
    contents.volumePath = QStringLiteral("/");
    contents.homeComponentCount = 2;
    contents.displayName = QStringLiteral("Q3 plan");
    contents.secondTableOfContents = true;

    const std::optional<Bookmark> bookmark = Bookmark::parse(BookmarkWriter::write(contents));
    ASSERT_TRUE(bookmark);
    EXPECT_TRUE(bookmark->hasTargetPath());
    EXPECT_EQ(bookmark->targetPath(), QStringLiteral("/Users/zoë/Q3 plan.key"));
    EXPECT_EQ(bookmark->volumePath(), QStringLiteral("/"));
    EXPECT_EQ(bookmark->displayName(), QStringLiteral("Q3 plan"));
    EXPECT_EQ(bookmark->homeComponentCount(), 2);
    EXPECT_EQ(bookmark->tableOfContentsCount(), 2);
}

TEST(Bookmark, nonFileBookmarksHaveNoPathAndNeverResolve)
{
    BookmarkWriter::Contents contents;
    contents.hasPath = false;
    contents.targetUrl = QStringLiteral("nwnode://domain-AirDrop");
    const std::optional<Bookmark> bookmark = Bookmark::parse(BookmarkWriter::write(contents));
    ASSERT_TRUE(bookmark);
    EXPECT_FALSE(bookmark->hasTargetPath());
    EXPECT_EQ(bookmark->targetUrl(), contents.targetUrl);
    EXPECT_FALSE(bookmark->resolve(QDir::homePath()));
}

TEST(Bookmark, resolvesTheStoredPathThenTheSamePathBelowThisHome)
{
    TestHome home;
    const QString document =
        home.createDocument(QStringLiteral("Documents/plan.txt"), QDateTime::currentDateTime());

    const auto direct =
        Bookmark::resolve(BookmarkWriter::forPath(document, home.path()), home.path());
    ASSERT_TRUE(direct);
    EXPECT_EQ(direct->fileUrl, QUrl::fromLocalFile(document));
    EXPECT_FALSE(direct->isStale);

    // Made on another machine, where the home folder was /Users/someone.
    BookmarkWriter::Contents moved =
        contentsFor({QStringLiteral("Users"), QStringLiteral("someone"),
                     QStringLiteral("Documents"), QStringLiteral("plan.txt")});
    moved.homeComponentCount = 2;
    const auto fallback = Bookmark::resolve(BookmarkWriter::write(moved), home.path());
    ASSERT_TRUE(fallback);
    EXPECT_EQ(fallback->fileUrl, QUrl::fromLocalFile(document));
    EXPECT_TRUE(fallback->isStale);

    moved.homeComponentCount.reset();
    EXPECT_FALSE(Bookmark::resolve(BookmarkWriter::write(moved), home.path()));

    // The fallback never climbs out of the home folder.
    BookmarkWriter::Contents climbing =
        contentsFor({QStringLiteral("Users"), QStringLiteral("someone"), QStringLiteral(".."),
                     QStringLiteral(".."), QStringLiteral("etc"), QStringLiteral("hostname")});
    climbing.homeComponentCount = 2;
    climbing.volumePath = QStringLiteral("/nonexistent-volume");
    EXPECT_FALSE(Bookmark::resolve(BookmarkWriter::write(climbing), home.path()));
}

TEST(Bookmark, aPathHoldingANulNeverReachesTheFileSystem)
{
    TestHome home;
    const QString document =
        home.createDocument(QStringLiteral("Documents/plan.txt"), QDateTime::currentDateTime());
    const QStringList homeParts = home.path().split(u'/', Qt::SkipEmptyParts);
    BookmarkWriter::Contents inPath = contentsFor(
        homeParts + QStringList{QStringLiteral("Documents"), QStringLiteral("plan.txt")});
    inPath.pathComponents.last() += QChar(0);
    inPath.homeComponentCount = static_cast<int>(homeParts.size());
    BookmarkWriter::Contents inVolume =
        contentsFor(QStringList{QStringLiteral("..")} + homeParts +
                    QStringList{QStringLiteral("Documents"), QStringLiteral("plan.txt")});
    inVolume.volumePath = QStringLiteral("/a") + QChar(0) + QStringLiteral("/b");

    // Qt would warn on standard error about every such path, once per bookmark and rebuild.
    static QStringList messages;
    messages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& message) { messages << message; });
    const auto fromPath = Bookmark::resolve(BookmarkWriter::write(inPath), home.path());
    const auto fromVolume = Bookmark::resolve(BookmarkWriter::write(inVolume), home.path());
    qInstallMessageHandler(previous);
    EXPECT_FALSE(fromPath);
    EXPECT_FALSE(fromVolume);
    EXPECT_EQ(messages, QStringList());
}

TEST(Bookmark, relativeComponentsAreJoinedWithTheVolume)
{
    TestHome home;
    const QString document =
        home.createDocument(QStringLiteral("Downloads/setup.pkg"), QDateTime::currentDateTime());
    const QStringList homeParts = home.path().split(u'/', Qt::SkipEmptyParts);
    BookmarkWriter::Contents contents =
        contentsFor(QStringList{QStringLiteral(".."), QStringLiteral("..")} + homeParts +
                    QStringList{QStringLiteral("Downloads"), QStringLiteral("setup.pkg")});
    contents.volumePath = QStringLiteral("/a/b");
    const auto resolved = Bookmark::resolve(BookmarkWriter::write(contents), QString());
    ASSERT_TRUE(resolved);
    EXPECT_EQ(resolved->fileUrl, QUrl::fromLocalFile(document));
}

TEST(Bookmark, rejectsDamagedHeaders)
{
    const QByteArray good = BookmarkWriter::write(contentsFor({QStringLiteral("tmp")}));
    QByteArray wrongMagic = good;
    wrongMagic[0] = 'x';
    QByteArray sizeTooLarge = good;
    setWord(sizeTooLarge, 4, static_cast<quint32>(good.size() + 1));
    QByteArray headerPastEnd = good;
    setWord(headerPastEnd, 12, static_cast<quint32>(good.size()));
    QByteArray tinyHeader = good;
    setWord(tinyHeader, 12, 4);
    for (const QByteArray& bad : {wrongMagic, sizeTooLarge, headerPastEnd, tinyHeader}) {
        QString error;
        EXPECT_FALSE(Bookmark::parse(bad, &error));
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(Bookmark, everyTruncationFailsCleanly)
{
    const QByteArray good = BookmarkWriter::write(
        contentsFor({QStringLiteral("home"), QStringLiteral("a"), QStringLiteral("b.txt")}));
    for (qsizetype length = 0; length < good.size(); ++length) {
        QByteArray cut = good.left(length);
        if (length >= 8)
            setWord(cut, 4, static_cast<quint32>(length)); // a writer that lies about nothing
        const std::optional<Bookmark> bookmark = Bookmark::parse(cut);
        if (bookmark) {
            EXPECT_LE(bookmark->pathComponents().size(), 3);
        }
    }
}

TEST(Bookmark, absurdCountsAndOffsetsFail)
{
    const QByteArray good = BookmarkWriter::write(contentsFor({QStringLiteral("tmp")}));
    const qsizetype area = BookmarkWriter::headerSize;
    const quint32 table = wordAt(good, area);

    QByteArray hugeCount = good;
    setWord(hugeCount, area + table + 16, 0x7fffffff);
    EXPECT_FALSE(Bookmark::parse(hugeCount));

    QByteArray tableOutside = good;
    setWord(tableOutside, area, 0xfffffff0);
    EXPECT_FALSE(Bookmark::parse(tableOutside));

    // A table whose "next" points at itself is read once.
    QByteArray loopingChain = good;
    setWord(loopingChain, area + table + 12, table);
    const std::optional<Bookmark> looped = Bookmark::parse(loopingChain);
    ASSERT_TRUE(looped);
    EXPECT_EQ(looped->tableOfContentsCount(), 1);
}

TEST(Bookmark, anArrayThatContainsItselfIsNotAPath)
{
    QByteArray bytes = BookmarkWriter::write(contentsFor({QStringLiteral("tmp")}));
    const qsizetype area = BookmarkWriter::headerSize;
    const quint32 table = wordAt(bytes, area);
    const quint32 entries = wordAt(bytes, area + table + 16);
    for (quint32 i = 0; i < entries; ++i) {
        const qsizetype entry = area + table + 20 + i * 12;
        if (wordAt(bytes, entry) != 0x1004)
            continue;
        const quint32 array = wordAt(bytes, entry + 4);
        setWord(bytes, area + array + 8, array); // first element points back at the array
    }
    QString error;
    EXPECT_FALSE(Bookmark::parse(bytes, &error));
    EXPECT_FALSE(error.isEmpty());
}
} // namespace

namespace {
TEST(Bookmark, pathsLongerThanAPathCanBeAreRefusedBeforeTheyAreCopied)
{
    // A path reaches PATH_MAX bytes with its terminating zero; "/" goes before each component.
    const QString megabyte(1024 * 1024, u'a');
    struct Case
    {
        const char* description;
        QStringList components;
        bool accepted;
    };
    const QList<Case> cases{
        {"2,000 components that are one 1 MB string", QStringList(2000, megabyte), false},
        {"one component of 1 MB", {megabyte}, false},
        {"20,000 one-letter components", QStringList(20000, QStringLiteral("a")), false},
        {"the longest path there can be",
         {QString(PATH_MAX - 8, u'b'), QStringLiteral("c"), QStringLiteral("doc")},
         true},
        {"one byte longer",
         {QString(PATH_MAX - 7, u'b'), QStringLiteral("c"), QStringLiteral("doc")},
         false},
    };
    for (const Case& c : cases) {
        BookmarkWriter::Contents contents = contentsFor(c.components);
        contents.shareEqualComponents = true;
        QString error;
        const std::optional<Bookmark> bookmark =
            Bookmark::parse(BookmarkWriter::write(contents), &error);
        EXPECT_EQ(bookmark.has_value(), c.accepted) << c.description;
        if (bookmark)
            EXPECT_EQ(bookmark->targetPath().size(), PATH_MAX - 1) << c.description;
        else
            EXPECT_FALSE(error.isEmpty()) << c.description;
    }
}
} // namespace
