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
