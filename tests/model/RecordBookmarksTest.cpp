// The record's walk in place against KeyedArchive's decoding of the same bytes: wherever the walk
// answers, it must answer what the decoder does (damage included), and it must answer for the
// records the system writes.

#include "RecordBookmarks.h"

#include "ArchiveWriter.h"
#include "Bookmark.h"
#include "BookmarkWriter.h"
#include "PropertyList.h"

#include <QDirIterator>
#include <QFile>
#include <QUuid>

#include <gtest/gtest.h>

namespace {
QVariant uid(quint64 value)
{
    return QVariant::fromValue(PlistUid{value});
}

QVariantMap classNamed(const QString& name)
{
    return {{QStringLiteral("$classname"), name},
            {QStringLiteral("$classes"), QVariantList{name, QStringLiteral("NSObject")}}};
}

QVariantMap archived(quint64 classUid, QVariantMap fields)
{
    fields.insert(QStringLiteral("$class"), uid(classUid));
    return fields;
}

QByteArray bookmarkFor(const QString& name)
{
    return BookmarkWriter::forPath(QStringLiteral("/home/someone/") + name,
                                   QStringLiteral("/home/someone"));
}

// A record with the objects spelled out: the root dictionary at 4, its items at 7; items and
// their bookmarks follow from 8 as the case needs.
QByteArray handMadeRecord(const QVariantList& itemReferences, const QVariantList& more)
{
    QVariantList objects{
        QStringLiteral("$null"),
        classNamed(QStringLiteral("NSDictionary")),
        classNamed(QStringLiteral("NSArray")),
        classNamed(QStringLiteral("NSMutableData")),
        archived(1, {{QStringLiteral("NS.keys"), QVariantList{uid(6)}},
                     {QStringLiteral("NS.objects"), QVariantList{uid(7)}}}),
        QStringLiteral("Bookmark"),
        QStringLiteral("items"),
        archived(2, {{QStringLiteral("NS.objects"), itemReferences}}),
    };
    objects += more;
    return ArchiveWriter::rawArchive(objects, uid(4));
}

QVariantMap itemWithBookmark(quint64 bookmark)
{
    return archived(1, {{QStringLiteral("NS.keys"), QVariantList{uid(5)}},
                        {QStringLiteral("NS.objects"), QVariantList{uid(bookmark)}}});
}

struct Case
{
    const char* name;
    QByteArray bytes;
    // Whether the walk in place must answer (rather than leave the record to KeyedArchive).
    bool answersInPlace;
};

QList<Case> records()
{
    const QList<QByteArray> three{bookmarkFor(QStringLiteral("a.txt")),
                                  bookmarkFor(QStringLiteral("b.txt")),
                                  bookmarkFor(QStringLiteral("c.txt"))};
    QVariantList items;
    for (const QByteArray& bookmark : three)
        items << QVariantMap{{QStringLiteral("Bookmark"), bookmark},
                             {QStringLiteral("uuid"), QUuid::createUuid().toString()}};
    const QVariantMap root{{QStringLiteral("items"), items}};
    using Style = ArchiveWriter::DataStyle;
    using Format = PlistWriter::Format;
    return {
        {"a binary record", ArchiveWriter::recordFile(three), true},
        {"bookmarks wrapped in NSMutableData",
         ArchiveWriter::write(root, Format::Binary, Style::MutableDataObject), true},
        {"an XML record", ArchiveWriter::recordFile(three, Format::Xml), false},
        {"no items", ArchiveWriter::write(QVariantMap{{QStringLiteral("items"), QVariantList()}}),
         true},
        {"no list of items", ArchiveWriter::write(QVariantMap{{QStringLiteral("other"), 1}}), true},
        {"items of other kinds",
         ArchiveWriter::write(QVariantMap{
             {QStringLiteral("items"),
              QVariantList{QStringLiteral("text"), QVariantMap{{QStringLiteral("Bookmark"), 12}},
                           QVariantMap{{QStringLiteral("Bookmark"), QByteArray("junk")}},
                           QVariant(), QVariantMap{{QStringLiteral("Other"), three.first()}}}}}),
         true},
        {"a root that is null", ArchiveWriter::write(QVariant()), true},
        {"a root that is text", ArchiveWriter::write(QStringLiteral("root")), false},
        {"not a property list", QByteArray(300, 'x'), false},
        {"a property list that is no archive",
         PlistWriter::write(QVariantMap{{QStringLiteral("items"), QVariantList()}}), false},
        {"a plain bookmark and a damaged one after it",
         handMadeRecord({uid(8), uid(10), uid(12)},
                        {itemWithBookmark(9), three[0], itemWithBookmark(11),
                         archived(3, {{QStringLiteral("NS.data"), uid(11)}}), itemWithBookmark(13),
                         three[1]}),
         false},
        {"an item referring to an object past the table",
         handMadeRecord({uid(8), uid(99)}, {itemWithBookmark(9), three[0]}), false},
        {"an item referring to the list of items",
         handMadeRecord({uid(8), uid(7)}, {itemWithBookmark(9), three[0]}), false},
        {"an item referring to the root",
         handMadeRecord({uid(8), uid(4)}, {itemWithBookmark(9), three[0]}), true},
        {"a bookmark that is \"$null\"", handMadeRecord({uid(8)}, {itemWithBookmark(0)}), true},
        {"an item inline, not referred to",
         handMadeRecord({QVariantMap{{QStringLiteral("Bookmark"), three[0]}}}, {}), false},
        {"a bookmark of a class the archive lacks",
         handMadeRecord({uid(8)}, {itemWithBookmark(9), archived(42, {})}), false},
        {"an item without a class",
         handMadeRecord({uid(8)}, {QVariantMap{{QStringLiteral("NS.keys"), QVariantList{uid(5)}}}}),
         false},
        {"a dictionary with more keys than values",
         handMadeRecord({uid(8)},
                        {archived(1, {{QStringLiteral("NS.keys"), QVariantList{uid(5), uid(6)}},
                                      {QStringLiteral("NS.objects"), QVariantList{uid(9)}}}),
                         three[0]}),
         false},
        {"a key repeated: the last value counts",
         handMadeRecord(
             {uid(8)},
             {archived(1, {{QStringLiteral("NS.keys"), QVariantList{uid(5), uid(5)}},
                           {QStringLiteral("NS.objects"), QVariantList{uid(9), uid(10)}}}),
              three[0], three[1]}),
         true},
    };
}

// Every file of the real-world samples, the fuzzers' regressions and the hand-made records.
QList<QByteArray> corpus()
{
    QList<QByteArray> files;
    for (const Case& c : records())
        files << c.bytes;
    for (const QString& folder :
         {QStringLiteral(VORLANE_SHARED_FIXTURES), QStringLiteral(VORLANE_FUZZ_REGRESSIONS)}) {
        QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (file.open(QIODevice::ReadOnly))
                files << file.readAll();
        }
    }
    return files;
}

void expectSameAnswer(const QByteArray& bytes, const std::string& what)
{
    const std::optional<RecordBookmarks> inPlace = RecordBookmarks::readInPlace(bytes);
    if (!inPlace)
        return;
    const RecordBookmarks decoded = RecordBookmarks::readThroughArchive(bytes);
    EXPECT_EQ(inPlace->items, decoded.items) << what;
    EXPECT_EQ(inPlace->bookmarks, decoded.bookmarks) << what;
    EXPECT_TRUE(decoded.error.isEmpty()) << what << ": " << decoded.error.toStdString();
}
} // namespace

TEST(RecordBookmarks, theWalkInPlaceAnswersAsTheArchiveDecoderDoes)
{
    for (const Case& c : records()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RecordBookmarks::readInPlace(c.bytes).has_value(), c.answersInPlace);
        expectSameAnswer(c.bytes, c.name);
        EXPECT_EQ(RecordBookmarks::read(c.bytes), RecordBookmarks::readThroughArchive(c.bytes));
    }
    const RecordBookmarks record = RecordBookmarks::read(records().first().bytes);
    EXPECT_EQ(record.items, RecordBookmarks::Items::Listed);
    EXPECT_EQ(record.bookmarks.size(), 3);
}

// Damage anywhere in a file: bytes changed, cut short, lengths and references bent.
TEST(RecordBookmarks, damagedFilesGetTheSameAnswerEitherWay)
{
    quint32 seed = 16;
    const auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    int answeredInPlace = 0;
    for (const QByteArray& original : corpus()) {
        if (!original.startsWith("bplist0") || original.size() > 64 * 1024)
            continue;
        for (int round = 0; round < 100; ++round) {
            QByteArray bytes = original;
            const int changes = 1 + int(next() % 4);
            for (int i = 0; i < changes; ++i) {
                const qsizetype at = qsizetype(next() % quint32(bytes.size()));
                bytes[at] = char(next() % 3 == 0 ? bytes[at] ^ (1 << (next() % 8)) : next());
            }
            if (next() % 8 == 0)
                bytes.truncate(qsizetype(next() % quint32(bytes.size())));
            answeredInPlace += RecordBookmarks::readInPlace(bytes).has_value();
            expectSameAnswer(bytes, "round " + std::to_string(round));
        }
    }
    EXPECT_GT(answeredInPlace, 100);
}

TEST(RecordBookmarks, bookmarksResolveStraightFromTheirDataAsAfterParsing)
{
    quint32 seed = 5;
    const auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    const QString home = QDir::homePath();
    QList<QByteArray> bookmarks{BookmarkWriter::forPath(QDir::rootPath()),
                                BookmarkWriter::forPath(home + QStringLiteral("/gone"), home),
                                BookmarkWriter::forPath(QStringLiteral("/tmp/../tmp/./"))};
    BookmarkWriter::Contents moved;
    moved.pathComponents = {QStringLiteral("Users"), QStringLiteral("x"), QStringLiteral("..")};
    bookmarks << BookmarkWriter::write(moved);
    for (const QByteArray& original : QList<QByteArray>(bookmarks)) {
        for (int round = 0; round < 500; ++round) {
            QByteArray bytes = original;
            const qsizetype at = qsizetype(next() % quint32(bytes.size()));
            bytes[at] = char(next());
            bookmarks << bytes;
        }
    }
    for (const QByteArray& bytes : bookmarks) {
        const std::optional<Bookmark> parsed = Bookmark::parse(bytes);
        const std::optional<Bookmark::Resolution> expected =
            parsed ? parsed->resolve(home) : std::nullopt;
        const std::optional<Bookmark::Resolution> direct = Bookmark::resolve(bytes, home);
        ASSERT_EQ(direct.has_value(), expected.has_value());
        if (expected) {
            EXPECT_EQ(direct->fileUrl, expected->fileUrl);
            EXPECT_EQ(direct->isStale, expected->isStale);
        }
    }
}
