#include "PropertyList.h"

#include "Bookmark.h"
#include "DocumentPortalStore.h"
#include "GvdbReader.h"
#include "KeyedArchive.h"
#include "PlistWriter.h"
#include "QtPrinters.h"
#include "RecentlyUsedFile.h"
#include "SystemRecordsReader.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {
const QVariantMap everyType{
    {QStringLiteral("text"), QStringLiteral("plain ascii")},
    {QStringLiteral("unicode"), QStringLiteral("Zoë’s 文件 📄")},
    {QStringLiteral("empty"), QString()},
    {QStringLiteral("bytes"), QByteArray("\x00\x01book\xff", 7)},
    {QStringLiteral("small"), qint64(7)},
    {QStringLiteral("negative"), qint64(-42)},
    {QStringLiteral("large"), qint64(1) << 40},
    {QStringLiteral("real"), 2.5},
    {QStringLiteral("yes"), true},
    {QStringLiteral("no"), false},
    {QStringLiteral("when"), QDateTime(QDate(2026, 12, 7), QTime(21, 5, 28), Qt::UTC)},
    {QStringLiteral("reference"), QVariant::fromValue(PlistUid{12})},
    {QStringLiteral("list"), QVariantList{qint64(1), QStringLiteral("two"),
                                          QVariantList{QVariantMap{{QStringLiteral("k"), 3.0}}}}},
    {QStringLiteral("long list"), QVariantList(40, QStringLiteral("same"))},
};

class PropertyListFormats : public testing::TestWithParam<PlistWriter::Format>
{};

TEST_P(PropertyListFormats, readsWhatTheReferenceWriterWrote)
{
    QString error;
    const std::optional<QVariant> read =
        PropertyList::parse(PlistWriter::write(everyType, GetParam()), &error);
    ASSERT_TRUE(read) << error.toStdString();
    const QVariantMap map = read->toMap();
    for (auto it = everyType.cbegin(); it != everyType.cend(); ++it) {
        if (it.key() == u"reference")
            EXPECT_EQ(PropertyList::uidValue(map.value(it.key())), 12u);
        else
            EXPECT_EQ(map.value(it.key()), it.value()) << it.key().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(BinaryAndXml, PropertyListFormats,
                         testing::Values(PlistWriter::Format::Binary, PlistWriter::Format::Xml));

QByteArray binaryWithObjects(const QList<QByteArray>& objects, quint64 top, int referenceSize = 1)
{
    QByteArray bytes("bplist00");
    QList<quint64> offsets;
    for (const QByteArray& object : objects) {
        offsets << static_cast<quint64>(bytes.size());
        bytes += object;
    }
    const quint64 table = static_cast<quint64>(bytes.size());
    for (quint64 offset : offsets)
        bytes += static_cast<char>(offset);
    QByteArray trailer(32, '\0');
    trailer[6] = 1;
    trailer[7] = static_cast<char>(referenceSize);
    trailer[15] = static_cast<char>(objects.size());
    trailer[23] = static_cast<char>(top);
    trailer[31] = static_cast<char>(table);
    return bytes + trailer;
}

TEST(PropertyList, refusesCyclesBadReferencesAndLies)
{
    const QList<std::pair<const char*, QByteArray>> cases{
        {"array containing itself", binaryWithObjects({QByteArray("\xa1\x00", 2)}, 0)},
        {"two arrays containing each other",
         binaryWithObjects({QByteArray("\xa1\x01", 2), QByteArray("\xa1\x00", 2)}, 0)},
        {"reference out of range", binaryWithObjects({QByteArray("\xa1\x05", 2)}, 0)},
        {"top object out of range", binaryWithObjects({QByteArray("\x09", 1)}, 3)},
        {"array longer than the file",
         binaryWithObjects({QByteArray("\xaf\x13\x7f\xff\xff\xff\xff\xff\xff\xff", 10)}, 0)},
        {"data longer than the file",
         binaryWithObjects({QByteArray("\x4f\x12\x7f\xff\xff\xff", 6)}, 0)},
        {"utf-16 text longer than the file", binaryWithObjects({QByteArray("\x6f\x10\xff", 3)}, 0)},
        {"dictionary key that is not text",
         binaryWithObjects({QByteArray("\xd1\x01\x01", 3), QByteArray("\x10\x05", 2)}, 0)},
        {"unknown object type", binaryWithObjects({QByteArray("\x70", 1)}, 0)},
        {"trailer only", QByteArray("bplist00") + QByteArray(32, '\0')},
        {"xml with bad base64", "<plist><data>abcde</data></plist>"},
        {"xml with a key and no value", "<plist><dict><key>a</key></dict></plist>"},
        {"xml not closed", "<plist><array><string>a</string>"},
        {"not a property list at all", "just some text here"},
    };
    for (const auto& [description, bytes] : cases) {
        QString error;
        EXPECT_FALSE(PropertyList::parse(bytes, &error)) << description;
        EXPECT_FALSE(error.isEmpty()) << description;
    }
}

TEST(PropertyList, sharedObjectsAreReadOnce)
{
    // A chain of arrays, each holding the next one twice: 2^60 paths, 60 objects.
    QList<QByteArray> objects;
    for (int i = 0; i < 60; ++i)
        objects << QByteArray("\xa2") + char(i + 1) + char(i + 1);
    objects << QByteArray("\x09", 1);
    const std::optional<QVariant> read = PropertyList::parse(binaryWithObjects(objects, 0));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->toList().size(), 2);
}

TEST(PropertyList, deepXmlFailsInsteadOfExhaustingTheStack)
{
    const QByteArray deep = "<plist>" + QByteArray("<array>").repeated(100000) + "</plist>";
    EXPECT_FALSE(PropertyList::parse(deep));
}

TEST(Readers, regressionInputsFromFuzzingAreHandled)
{
    const QDir regressions(QStringLiteral(VORLANE_FUZZ_REGRESSIONS));
    const QStringList files = regressions.entryList(QDir::Files);
    EXPECT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        QFile file(regressions.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        // Each reader must simply return.
        const QByteArray bytes = file.readAll();
        PropertyList::parse(bytes);
        QString error;
        if (const std::optional<KeyedArchive> archive = KeyedArchive::open(bytes, &error))
            archive->decodeTopLevelObject(QStringLiteral("root"), &error);
        Bookmark::parse(bytes);
        readRecordData(bytes);
        RecentlyUsedFile::parse(bytes);
        if (const std::optional<GvdbReader> root = GvdbReader::open(bytes))
            root->keys();
        DocumentPortalStore::parse(bytes);
    }
}
} // namespace
