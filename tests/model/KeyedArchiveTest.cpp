#include "KeyedArchive.h"

#include "ArchiveWriter.h"
#include "PlistWriter.h"
#include "PropertyList.h"
#include "QtPrinters.h"

#include <QDateTime>

#include <gtest/gtest.h>

namespace {
QVariant uid(quint64 value)
{
    return QVariant::fromValue(PlistUid{value});
}

QVariantMap classDefinition(const QString& name)
{
    return {{QStringLiteral("$classname"), name},
            {QStringLiteral("$classes"), QVariantList{name, QStringLiteral("NSObject")}}};
}

struct Decoded
{
    bool opened = false;
    QVariant root;
    QString error;
};

Decoded decode(const QByteArray& bytes)
{
    Decoded result;
    const std::optional<KeyedArchive> archive = KeyedArchive::open(bytes, &result.error);
    if (!archive)
        return result;
    result.opened = true;
    result.root = archive->decodeTopLevelObject(QStringLiteral("root"), &result.error);
    return result;
}

const QVariantMap sampleRoot{
    {QStringLiteral("items"),
     QVariantList{QVariantMap{{QStringLiteral("Bookmark"), QByteArray("book\x01\x02", 6)},
                              {QStringLiteral("Name"), QStringLiteral("Résumé")}},
                  QVariantMap{{QStringLiteral("visibility"), qint64(-3)}}}},
    {QStringLiteral("properties"),
     QVariantMap{{QStringLiteral("ratio"), 0.5},
                 {QStringLiteral("flag"), true},
                 {QStringLiteral("when"), QDateTime(QDate(2026, 12, 7), QTime(9, 30), Qt::UTC)},
                 {QStringLiteral("nothing"), QVariant()}}},
};

class ArchiveFormats
    : public testing::TestWithParam<std::tuple<PlistWriter::Format, ArchiveWriter::DataStyle>>
{};

TEST_P(ArchiveFormats, roundTripsEveryValueType)
{
    const auto [format, dataStyle] = GetParam();
    const Decoded decoded = decode(ArchiveWriter::write(sampleRoot, format, dataStyle));
    ASSERT_TRUE(decoded.opened) << decoded.error.toStdString();
    EXPECT_TRUE(decoded.error.isEmpty()) << decoded.error.toStdString();
    EXPECT_EQ(decoded.root.toMap(), sampleRoot);
}

INSTANTIATE_TEST_SUITE_P(
    BinaryAndXml, ArchiveFormats,
    testing::Combine(testing::Values(PlistWriter::Format::Binary, PlistWriter::Format::Xml),
                     testing::Values(ArchiveWriter::DataStyle::Raw,
                                     ArchiveWriter::DataStyle::MutableDataObject)));

TEST(KeyedArchive, refusesWhatIsNotAnArchive)
{
    for (const QByteArray& bytes :
         {QByteArray(), QByteArray("hello, world"), QByteArray(64, '\0'),
          PlistWriter::write(QVariantMap{{QStringLiteral("$top"), QVariantMap()}}),
          PlistWriter::write(QVariantList{qint64(1), qint64(2)})}) {
        QString error;
        EXPECT_FALSE(KeyedArchive::open(bytes, &error));
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(KeyedArchive, reportsBrokenReferencesAsErrors)
{
    const QVariant dictionaryClass = uid(2);
    struct Case
    {
        const char* description;
        QVariantList objects;
        QVariant root;
    };
    const QList<Case> cases{
        {"root out of range", {QStringLiteral("$null")}, uid(7)},
        {"member out of range",
         {QStringLiteral("$null"),
          QVariantMap{{QStringLiteral("$class"), dictionaryClass},
                      {QStringLiteral("NS.keys"), QVariantList{uid(99)}},
                      {QStringLiteral("NS.objects"), QVariantList{uid(0)}}},
          classDefinition(QStringLiteral("NSDictionary"))},
         uid(1)},
        {"dictionary containing itself",
         {QStringLiteral("$null"),
          QVariantMap{{QStringLiteral("$class"), dictionaryClass},
                      {QStringLiteral("NS.keys"), QVariantList{uid(3)}},
                      {QStringLiteral("NS.objects"), QVariantList{uid(1)}}},
          classDefinition(QStringLiteral("NSDictionary")), QStringLiteral("self")},
         uid(1)},
        {"keys and values of different counts",
         {QStringLiteral("$null"),
          QVariantMap{{QStringLiteral("$class"), dictionaryClass},
                      {QStringLiteral("NS.keys"), QVariantList{uid(3), uid(3)}},
                      {QStringLiteral("NS.objects"), QVariantList{uid(3)}}},
          classDefinition(QStringLiteral("NSDictionary")), QStringLiteral("k")},
         uid(1)},
        {"class reference out of range",
         {QStringLiteral("$null"), QVariantMap{{QStringLiteral("$class"), uid(50)}}},
         uid(1)},
        {"class without a name",
         {QStringLiteral("$null"), QVariantMap{{QStringLiteral("$class"), uid(2)}}, QVariantMap()},
         uid(1)},
        {"object without a class", {QStringLiteral("$null"), QVariantMap{}}, uid(1)},
        {"data object without bytes",
         {QStringLiteral("$null"), QVariantMap{{QStringLiteral("$class"), uid(2)}},
          classDefinition(QStringLiteral("NSMutableData"))},
         uid(1)},
    };
    for (const Case& c : cases) {
        const Decoded decoded = decode(ArchiveWriter::rawArchive(c.objects, c.root));
        ASSERT_TRUE(decoded.opened) << c.description;
        EXPECT_FALSE(decoded.error.isEmpty()) << c.description;
        EXPECT_TRUE(decoded.root.isNull()) << c.description;
    }
}

TEST(KeyedArchive, sharedObjectsAreNotCycles)
{
    // Two keys referring to one object, and a long chain of nested arrays sharing their leaves.
    QVariantList objects{QStringLiteral("$null"), classDefinition(QStringLiteral("NSArray")),
                         QStringLiteral("leaf")};
    QVariant previous = uid(2);
    for (int level = 0; level < 40; ++level) {
        objects.append(
            QVariantMap{{QStringLiteral("$class"), uid(1)},
                        {QStringLiteral("NS.objects"), QVariantList{previous, previous}}});
        previous = uid(static_cast<quint64>(objects.size() - 1));
    }
    const Decoded decoded = decode(ArchiveWriter::rawArchive(objects, previous));
    EXPECT_TRUE(decoded.error.isEmpty()) << decoded.error.toStdString();
    EXPECT_EQ(decoded.root.toList().size(), 2);
}

TEST(KeyedArchive, deepNestingFailsInsteadOfExhaustingTheStack)
{
    QVariantList objects{QStringLiteral("$null"), classDefinition(QStringLiteral("NSArray"))};
    for (int level = 0; level < 100000; ++level)
        objects.append(QVariantMap{{QStringLiteral("$class"), uid(1)},
                                   {QStringLiteral("NS.objects"),
                                    QVariantList{uid(static_cast<quint64>(objects.size() + 1))}}});
    objects.append(QStringLiteral("bottom"));
    const Decoded decoded = decode(ArchiveWriter::rawArchive(objects, uid(2)));
    EXPECT_FALSE(decoded.error.isEmpty());
}

TEST(KeyedArchive, keepsObjectsOfOtherClassesWithTheirFields)
{
    const QVariantList objects{QStringLiteral("$null"),
                               QVariantMap{{QStringLiteral("$class"), uid(2)},
                                           {QStringLiteral("bookmark"), uid(3)},
                                           {QStringLiteral("order"), 1.5}},
                               classDefinition(QStringLiteral("SFLListItem")), QByteArray("book")};
    const Decoded decoded = decode(ArchiveWriter::rawArchive(objects, uid(1)));
    ASSERT_TRUE(decoded.error.isEmpty());
    ASSERT_EQ(decoded.root.metaType(), QMetaType::fromType<ArchivedObject>());
    const ArchivedObject item = decoded.root.value<ArchivedObject>();
    EXPECT_EQ(item.className, QStringLiteral("SFLListItem"));
    EXPECT_EQ(item.fields.value(QStringLiteral("bookmark")).toByteArray(), QByteArray("book"));
    EXPECT_EQ(item.fields.value(QStringLiteral("order")).toDouble(), 1.5);
}
} // namespace

namespace {
QVariantMap archivedObject(quint64 classUid, const QVariantMap& fields)
{
    QVariantMap object = fields;
    object.insert(QStringLiteral("$class"), uid(classUid));
    return object;
}

// Archives whose objects lead back to themselves through what resolve() follows: dictionary keys
// and the contents of strings and data. Objects 1 to 3 are the classes.
const QVariantList selfReferringClasses{QStringLiteral("$null"),
                                        classDefinition(QStringLiteral("NSDictionary")),
                                        classDefinition(QStringLiteral("NSMutableData")),
                                        classDefinition(QStringLiteral("NSMutableString"))};

QVariantList withObjects(const QVariantList& objects)
{
    return selfReferringClasses + objects;
}

TEST(KeyedArchive, objectsContainingThemselvesAreErrorsForBothDecoders)
{
    struct Case
    {
        const char* description;
        QVariantList objects;
    };
    const QList<Case> cases{
        {"dictionary whose key is itself",
         withObjects({archivedObject(1, {{QStringLiteral("NS.keys"), QVariantList{uid(4)}},
                                         {QStringLiteral("NS.objects"), QVariantList{uid(0)}}})})},
        {"dictionary whose key is a string made of the dictionary",
         withObjects({archivedObject(1, {{QStringLiteral("NS.keys"), QVariantList{uid(5)}},
                                         {QStringLiteral("NS.objects"), QVariantList{uid(0)}}}),
                      archivedObject(3, {{QStringLiteral("NS.string"), uid(4)}})})},
        {"data holding itself",
         withObjects({archivedObject(2, {{QStringLiteral("NS.data"), uid(4)}})})},
        {"string holding itself",
         withObjects({archivedObject(3, {{QStringLiteral("NS.string"), uid(4)}})})},
        {"string holding its bytes as itself",
         withObjects({archivedObject(3, {{QStringLiteral("NS.bytes"), uid(4)}})})},
    };
    for (const Case& c : cases) {
        const QByteArray bytes = ArchiveWriter::rawArchive(c.objects, uid(4));
        QString error;
        const std::optional<KeyedArchive> archive = KeyedArchive::open(bytes, &error);
        ASSERT_TRUE(archive) << c.description;
        EXPECT_TRUE(
            archive->resolve(archive->topLevelReference(QStringLiteral("root")), &error).isNull())
            << c.description;
        EXPECT_FALSE(error.isEmpty()) << c.description;
        EXPECT_TRUE(decode(bytes).root.isNull()) << c.description;
    }
}

TEST(KeyedArchive, resolvingALongChainOfStringsFailsInsteadOfExhaustingTheStack)
{
    QVariantList objects = selfReferringClasses;
    for (quint64 link = 0; link < 2000; ++link)
        objects.append(archivedObject(
            3, {{QStringLiteral("NS.string"), uid(static_cast<quint64>(objects.size()) + 1)}}));
    objects.append(QStringLiteral("end"));
    const QByteArray bytes = ArchiveWriter::rawArchive(objects, uid(4));
    QString error;
    const std::optional<KeyedArchive> archive = KeyedArchive::open(bytes, &error);
    ASSERT_TRUE(archive);
    EXPECT_TRUE(archive->resolve(uid(4), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
    // The failure spoils nothing: the end of the chain still resolves.
    const quint64 lastLink = static_cast<quint64>(objects.size()) - 2;
    EXPECT_EQ(archive->resolve(uid(lastLink), &error).toString(), QStringLiteral("end"));
    EXPECT_TRUE(error.isEmpty());
}

TEST(KeyedArchive, keysSharedByManyDictionariesAreResolvedOnce)
{
    // Each dictionary has the next one twice among its keys: resolving every path separately
    // would take 2^60 steps.
    QVariantList objects = selfReferringClasses;
    for (quint64 level = 0; level < 60; ++level) {
        const QVariant next = uid(static_cast<quint64>(objects.size()) + 1);
        objects.append(
            archivedObject(1, {{QStringLiteral("NS.keys"), QVariantList{next, next}},
                               {QStringLiteral("NS.objects"), QVariantList{uid(0), uid(0)}}}));
    }
    objects.append(QStringLiteral("bottom"));
    const QByteArray bytes = ArchiveWriter::rawArchive(objects, uid(4));
    QString error;
    const std::optional<KeyedArchive> archive = KeyedArchive::open(bytes, &error);
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->resolve(uid(4), &error).metaType(), QMetaType::fromType<QVariantMap>());
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
}
} // namespace
