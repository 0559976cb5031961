// GVDB files as their real writers wrote them: GLib's resource compiler and the document portal's
// permission store (tests/fixtures/portal), read whole and damaged.

#include "GvdbReader.h"

#include "DocumentPortalStore.h"
#include "QtPrinters.h"

#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>

namespace {
QByteArray fixture(const char* name)
{
    QFile file(QStringLiteral(VORLANE_PORTAL_FIXTURES "/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

// Reads everything a reader of the file can reach.
void readEverything(const GvdbReader& table, int depth = 0)
{
    for (const QString& key : table.keys()) {
        const SerializedVariant value = table.value(key).unwrapped();
        QList<SerializedVariant> pending{value};
        for (qsizetype i = 0; i < pending.size() && pending.size() < 4096; ++i) {
            (void)pending.at(i).string();
            (void)pending.at(i).number();
            pending << pending.at(i).children();
            if (const SerializedVariant inside = pending.at(i).unwrapped(); inside.isValid())
                pending << inside;
        }
        if (depth < 4)
            if (const std::optional<GvdbReader> nested = table.table(key))
                readEverything(*nested, depth + 1);
    }
}

// The resource bundle as a big-endian machine's GLib writes it: every number of the tables and of
// the resources' (uuay) values in the other byte order.
QByteArray bigEndianBundle(const QByteArray& bundle)
{
    QByteArray swapped = bundle;
    const auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(bundle.data() + at); };
    const auto swap = [&](qsizetype at, int size) {
        std::reverse(swapped.begin() + at, swapped.begin() + at + size);
    };
    swapped.replace(0, 8, "raVGtnai");
    for (qsizetype at : {8, 12, 16, 20})
        swap(at, 4);
    const qsizetype start = u32(16);
    const qsizetype buckets = start + 8 + 4 * qsizetype(u32(start) & 0x7ffffff);
    const qsizetype items = buckets + 4 * qsizetype(u32(start + 4));
    for (qsizetype at = start; at < items; at += 4)
        swap(at, 4);
    for (qsizetype item = items; item < qsizetype(u32(20)); item += 24) {
        for (qsizetype at : {0, 4, 8, 16, 20})
            swap(item + at, 4);
        swap(item + 12, 2);
        const qsizetype value = u32(item + 16);
        if (bundle.at(item + 14) == 'v') {
            swap(value, 4);
            swap(value + 4, 4);
        } else if (bundle.at(item + 14) == 'L') {
            for (qsizetype at = value; at < qsizetype(u32(item + 20)); at += 4)
                swap(at, 4);
        }
    }
    return swapped;
}

TEST(GvdbReader, readsGlibResourceBundlesWhoseKeysShareTheirBeginnings)
{
    const QByteArray bundle = fixture("resources.gresource");
    for (const QByteArray& file : {bundle, bigEndianBundle(bundle)}) {
        SCOPED_TRACE(file.first(8).toStdString());
        const std::optional<GvdbReader> root = GvdbReader::open(file);
        ASSERT_TRUE(root);
        const QStringList keys = root->keys();
        EXPECT_TRUE(keys.contains(QStringLiteral("/org/example/App/a.txt")));
        EXPECT_TRUE(keys.contains(QStringLiteral("/org/example/App/icons/b.txt")));
        // A resource: (size, flags, contents with a trailing zero byte).
        const SerializedVariant resource =
            root->value(QStringLiteral("/org/example/App/icons/b.txt")).unwrapped();
        ASSERT_EQ(resource.type(), "(uuay)");
        const QList<SerializedVariant> fields = resource.children();
        ASSERT_EQ(fields.size(), 3);
        EXPECT_EQ(fields.at(0).number(), 7u);
        EXPECT_EQ(fields.at(2).byteString(), "second\n");
        // A folder is a list item, not a value; unknown keys are missing.
        EXPECT_FALSE(root->value(QStringLiteral("/org/example/App/")).isValid());
        EXPECT_FALSE(root->value(QStringLiteral("/org/example/App/c.txt")).isValid());
    }
}

// Damaged files: every cut, every byte flipped, parents in a circle, offsets past the end. Each
// reads what is left or nothing, within the file (the sanitizer build checks every access).
TEST(GvdbReader, damagedFilesReadWithinTheirBytes)
{
    const QByteArray documents = fixture("documents");
    const QByteArray resources = fixture("resources.gresource");
    const qsizetype whole = DocumentPortalStore::parse(documents).size();
    EXPECT_EQ(whole, 6);
    for (const QByteArray& file : {documents, resources}) {
        for (qsizetype size = 0; size < file.size(); ++size) {
            EXPECT_LE(DocumentPortalStore::parse(file.first(size)).size(), whole);
            if (const std::optional<GvdbReader> root = GvdbReader::open(file.first(size)))
                readEverything(*root);
        }
        for (qsizetype at = 0; at < file.size(); ++at) {
            QByteArray flipped = file;
            flipped[at] = char(flipped.at(at) ^ 0xff);
            if (const std::optional<GvdbReader> root = GvdbReader::open(flipped))
                readEverything(*root);
        }
    }

    // The root table's items, after a bloom header, the bucket count and the buckets.
    const auto u32At = [](const QByteArray& bytes, qsizetype at) {
        return qFromLittleEndian<quint32>(bytes.constData() + at);
    };
    const qsizetype items = 24 + 8 + 4 * qsizetype(u32At(resources, 28));
    const auto withParents = [&](const QList<std::pair<int, quint32>>& parents) {
        QByteArray bytes = resources;
        for (const auto& [item, parent] : parents)
            qToLittleEndian<quint32>(parent, bytes.data() + items + 24 * item + 4);
        return bytes;
    };
    struct Case
    {
        const char* what;
        QByteArray file;
        bool opens;
    };
    QByteArray rootPastEnd = resources;
    qToLittleEndian<quint32>(quint32(resources.size() + 8), rootPastEnd.data() + 20);
    QByteArray bucketsPastEnd = resources;
    qToLittleEndian<quint32>(0x40000000u, bucketsPastEnd.data() + 28);
    QByteArray bloomPastEnd = resources;
    qToLittleEndian<quint32>(0x07ffffffu, bloomPastEnd.data() + 24);
    const QList<Case> cases{
        {"an item its own parent", withParents({{0, 0}}), true},
        {"two items each other's parent", withParents({{0, 1}, {1, 0}}), true},
        {"a parent past the items", withParents({{1, 0x7fffffff}}), true},
        {"the root table past the end", rootPastEnd, false},
        {"more buckets than bytes", bucketsPastEnd, false},
        {"a bloom filter larger than the file", bloomPastEnd, false},
        {"another version", QByteArray(resources).replace(8, 1, "\1"), false},
        {"no signature", QByteArray(resources).replace(0, 8, "GVariane"), false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        const std::optional<GvdbReader> root = GvdbReader::open(test.file);
        ASSERT_EQ(root.has_value(), test.opens);
        if (root) {
            readEverything(*root);
            EXPECT_LT(root->keys().size(), GvdbReader::open(resources)->keys().size());
        }
    }
}
} // namespace
