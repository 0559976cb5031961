// Decodes the real-world record files, bookmarks and archives kept beside the repository and
// compares the decoded targets with what was decoded independently of these readers.

#include "Bookmark.h"
#include "Diagnostics.h"
#include "KeyedArchive.h"
#include "PropertyList.h"
#include "QtPrinters.h"
#include "SystemRecordsReader.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {
const QString fixtures = QStringLiteral(VORLANE_SHARED_FIXTURES);

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList pathsOf(const QList<QByteArray>& bookmarks)
{
    QStringList paths;
    for (const QByteArray& data : bookmarks) {
        const std::optional<Bookmark> bookmark = Bookmark::parse(data);
        if (bookmark && bookmark->hasTargetPath())
            paths << bookmark->targetPath();
    }
    return paths;
}

// A shared file list: the "Bookmark" of each item of the root dictionary's "items", in order.
QList<QByteArray> listBookmarks(const QByteArray& bytes)
{
    QString error;
    const std::optional<KeyedArchive> archive = KeyedArchive::open(bytes, &error);
    if (!archive)
        return {};
    const QVariant root = archive->decodeTopLevelObject(QStringLiteral("root"), &error);
    QList<QByteArray> bookmarks;
    for (const QVariant& item : root.toMap().value(QStringLiteral("items")).toList())
        bookmarks << item.toMap().value(QStringLiteral("Bookmark")).toByteArray();
    return bookmarks;
}

// Other carriers (background-item archives, the Dock's preferences): every data value that holds
// a bookmark, in document order.
void collectBookmarks(const QVariant& value, QList<QByteArray>* found)
{
    if (value.metaType() == QMetaType::fromType<QByteArray>()) {
        if (value.toByteArray().startsWith("book"))
            *found << value.toByteArray();
    } else if (value.metaType() == QMetaType::fromType<QVariantList>()) {
        for (const QVariant& item : value.toList())
            collectBookmarks(item, found);
    } else if (value.metaType() == QMetaType::fromType<QVariantMap>()) {
        for (const QVariant& item : value.toMap())
            collectBookmarks(item, found);
    }
}

QStringList decodedTargets(const QString& relativePath)
{
    const QByteArray bytes = readAll(fixtures + u'/' + relativePath);
    if (relativePath.endsWith(QStringLiteral(".sfl2")))
        return pathsOf(listBookmarks(bytes));
    if (relativePath.endsWith(QStringLiteral(".bookmark")) ||
        relativePath.endsWith(QStringLiteral(".book")))
        return pathsOf({bytes});
    QList<QByteArray> carried;
    if (const std::optional<QVariant> plist = PropertyList::parse(bytes))
        collectBookmarks(*plist, &carried);
    return pathsOf(carried);
}

class RealFixtures : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!QFileInfo::exists(fixtures + QStringLiteral("/expected.json")))
            GTEST_SKIP() << "The shared real-world samples are not beside the repository ("
                         << fixtures.toStdString() << "); skipping.";
    }
};

TEST_F(RealFixtures, decodedTargetsMatchTheIndependentDecoding)
{
    const QJsonObject expected =
        QJsonDocument::fromJson(readAll(fixtures + QStringLiteral("/expected.json"))).object();
    ASSERT_FALSE(expected.isEmpty());
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
        QStringList wanted;
        for (const QJsonValue& path : it.value().toArray())
            wanted << path.toString();
        EXPECT_EQ(decodedTargets(it.key()), wanted) << it.key().toStdString();
    }
}

TEST_F(RealFixtures, brokenArchivesAreErrorsNotCrashes)
{
    struct Case
    {
        const char* file;
        bool opens;
        bool decodes;
    };
    for (const Case& c : {Case{"bpylist2/invalid_uid_archive.plist", true, false},
                          Case{"bpylist2/no_objects_archive.plist", false, false},
                          Case{"bpylist2/no_top_archive.plist", false, false},
                          Case{"bpylist2/simple_archive.plist", true, true},
                          Case{"bpylist2/nsmutabledata_archive.plist", true, true},
                          Case{"plaso/NSKeyedArchiver.plist", true, true},
                          Case{"plaso/truncated.plist", false, false}}) {
        QString error;
        const std::optional<KeyedArchive> archive =
            KeyedArchive::open(readAll(fixtures + u'/' + QString::fromLatin1(c.file)), &error);
        EXPECT_EQ(archive.has_value(), c.opens) << c.file;
        if (!archive)
            continue;
        archive->decodeTopLevelObject(QStringLiteral("root"), &error);
        EXPECT_EQ(error.isEmpty(), c.decodes) << c.file << ": " << error.toStdString();
    }
}

TEST_F(RealFixtures, everyFileGoesThroughEveryReaderWithoutHarm)
{
    const Diagnostics::Sink previous = Diagnostics::setSink([](const QString&) {});
    int files = 0;
    QDirIterator it(fixtures, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QByteArray bytes = readAll(path);
        PropertyList::parse(bytes);
        QString error;
        if (const std::optional<KeyedArchive> archive = KeyedArchive::open(bytes, &error))
            archive->decodeTopLevelObject(QStringLiteral("root"), &error);
        Bookmark::parse(bytes);
        readRecordFile(QUrl::fromLocalFile(path));
        ++files;
    }
    Diagnostics::setSink(previous);
    EXPECT_GT(files, 100);
}
} // namespace
