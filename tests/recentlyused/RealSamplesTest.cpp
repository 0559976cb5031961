// Real XBEL files kept beside the repository: GLib's own test samples (most of them files GLib
// must refuse) and a real user's file of 160 bookmarks, compared with what was read from them
// independently (xbel_expected.json) and with what GLib itself reads from them.

#include "GLibBookmarks.h"
#include "QtPrinters.h"
#include "RecentlyUsedEditor.h"
#include "RecentlyUsedFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {
const QString realSamples = QStringLiteral(VORLANE_SHARED_FIXTURES);

QByteArray readSample(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Expected
{
    bool wellFormed = false;
    // href, then the names of its applications; bookmarks without href and applications
    // without name left out (they stand for nothing).
    QList<QPair<QString, QStringList>> bookmarks;
};

QHash<QString, Expected> expectations()
{
    QHash<QString, Expected> result;
    const QJsonObject root =
        QJsonDocument::fromJson(readSample(realSamples + QStringLiteral("/xbel_expected.json")))
            .object();
    for (auto it = root.begin(); it != root.end(); ++it) {
        const QJsonObject entry = it.value().toObject();
        Expected expected;
        expected.wellFormed =
            entry.value(QStringLiteral("xml")).toString().startsWith(u"well-formed");
        for (const QJsonValue& bookmark : entry.value(QStringLiteral("bookmarks")).toArray()) {
            const QJsonValue href = bookmark.toObject().value(QStringLiteral("href"));
            if (!href.isString())
                continue;
            QStringList names;
            for (const QJsonValue& name :
                 bookmark.toObject().value(QStringLiteral("applications")).toArray())
                if (name.isString())
                    names << name.toString();
            expected.bookmarks.append({href.toString(), names});
        }
        result.insert(it.key(), expected);
    }
    return result;
}

QList<QPair<QString, QStringList>> summary(const RecentlyUsedFile& file)
{
    QList<QPair<QString, QStringList>> result;
    for (const RecentlyUsedFile::Bookmark& bookmark : file.bookmarks()) {
        QStringList names;
        for (const RecentlyUsedFile::Application& application : bookmark.applications)
            names << application.name;
        result.append({bookmark.href, names});
    }
    return result;
}

QList<QPair<QString, QStringList>> summary(const QList<GLibBookmarks::Item>& items)
{
    QList<QPair<QString, QStringList>> result;
    for (const GLibBookmarks::Item& item : items) {
        QStringList names;
        for (const GLibBookmarks::Registration& registration : item.registrations)
            names << registration.name;
        result.append({item.uri, names});
    }
    return result;
}

class RealSamples : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!QFileInfo::exists(realSamples + QStringLiteral("/xbel_expected.json")))
            GTEST_SKIP() << "the shared real samples are not at " << realSamples.toStdString()
                         << " (set VORLANE_SHARED_FIXTURES)";
    }
};

TEST_F(RealSamples, everySampleReadsAsTheIndependentReadingSays)
{
    const QHash<QString, Expected> expected = expectations();
    ASSERT_GE(expected.size(), 40);
    int wellFormed = 0;
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const QString path = realSamples + u'/' + it.key();
        SCOPED_TRACE(it.key().toStdString());
        const RecentlyUsedFile file = RecentlyUsedFile::load(path);
        if (!it->wellFormed) {
            EXPECT_FALSE(file.isComplete());
            continue;
        }
        ++wellFormed;
        // Well-formed samples GLib accepts: the same bookmarks and applications as GLib.
        if (const std::optional<QList<GLibBookmarks::Item>> glib = GLibBookmarks::load(path)) {
            QList<QPair<QString, QStringList>> ours = summary(file);
            for (auto& [href, names] : ours)
                names.sort();
            EXPECT_EQ(ours, summary(*glib));
            continue;
        }
        // Samples GLib refuses: what the independent reading found, element by element (a root
        // that is not xbel holds nothing).
        if (file.errorString() == u"Not an XBEL document") {
            EXPECT_TRUE(it->bookmarks.isEmpty());
            continue;
        }
        EXPECT_TRUE(file.isComplete()) << file.errorString().toStdString();
        EXPECT_EQ(summary(file), it->bookmarks);
    }
    EXPECT_GE(wellFormed, 15);
}

TEST_F(RealSamples, aTruncatedEndTagCostsNothingBeforeIt)
{
    // GLib's old sample file ends in "</xbel" without '>'.
    const RecentlyUsedFile file =
        RecentlyUsedFile::load(realSamples + QStringLiteral("/glib-xbel/bookmarks.xbel"));
    EXPECT_FALSE(file.isComplete());
    ASSERT_EQ(file.bookmarks().size(), 1);
    const RecentlyUsedFile::Bookmark& bookmark = file.bookmarks().first();
    EXPECT_EQ(bookmark.localPath, QStringLiteral("/home/ebassi/bookmark-spec/bookmark-spec.xml"));
    EXPECT_EQ(bookmark.title, QStringLiteral("Desktop Bookmarks Spec"));
    ASSERT_EQ(bookmark.applications.size(), 2);
    EXPECT_EQ(bookmark.applications.at(0).name, QStringLiteral("GEdit"));
    EXPECT_EQ(bookmark.applications.at(0).count, 2);
    EXPECT_EQ(bookmark.applications.at(0).modified,
              QDateTime::fromSecsSinceEpoch(1115726763, Qt::UTC));
    EXPECT_EQ(bookmark.applications.at(1).name, QStringLiteral("GViM"));
    EXPECT_EQ(bookmark.applications.at(1).count, 7);

    // A file that stops early is not rewritten: what follows the fault would be lost.
    const RecentlyUsedEditor::Edit edit = RecentlyUsedEditor::withoutApplications(
        QString::fromUtf8(readSample(realSamples + QStringLiteral("/glib-xbel/bookmarks.xbel"))),
        [](const RecentlyUsedFile::Bookmark&, const RecentlyUsedFile::Application&) {
            return true;
        });
    EXPECT_FALSE(edit.ok);
}

TEST_F(RealSamples, aRealUsersFileOfOneHundredSixtyBookmarks)
{
    const QString path =
        realSamples + QStringLiteral("/gtkjfilechooser/recently-used-example.xbel");
    const RecentlyUsedFile file = RecentlyUsedFile::load(path);
    EXPECT_TRUE(file.isComplete());
    ASSERT_EQ(file.bookmarks().size(), 160);
    const std::optional<QList<GLibBookmarks::Item>> glib = GLibBookmarks::load(path);
    ASSERT_TRUE(glib);
    for (qsizetype i = 0; i < glib->size(); ++i) {
        const GLibBookmarks::Item& item = glib->at(i);
        const RecentlyUsedFile::Bookmark& bookmark = file.bookmarks().at(i);
        EXPECT_EQ(bookmark.href, item.uri);
        EXPECT_EQ(bookmark.title, item.title);
        QList<RecentlyUsedFile::Application> applications = bookmark.applications;
        std::sort(applications.begin(), applications.end(),
                  [](const auto& a, const auto& b) { return a.name < b.name; });
        ASSERT_EQ(applications.size(), item.registrations.size()) << item.uri.toStdString();
        for (qsizetype a = 0; a < applications.size(); ++a) {
            EXPECT_EQ(applications.at(a).name, item.registrations.at(a).name);
            EXPECT_EQ(applications.at(a).modified, item.registrations.at(a).stamp);
            EXPECT_EQ(applications.at(a).count, item.registrations.at(a).count);
        }
    }
    // Its first bookmark, as written.
    const RecentlyUsedFile::Bookmark& first = file.bookmarks().first();
    EXPECT_EQ(first.localPath, QStringLiteral("/tmp/PT2.wmv"));
    EXPECT_EQ(first.applications.first().exec, QStringLiteral("'totem %u'"));
    EXPECT_EQ(first.added, QDateTime(QDate(2009, 9, 13), QTime(23, 28, 58), Qt::UTC));

    // Removing one application leaves the rest as GLib reads it.
    const RecentlyUsedEditor::Edit edit = RecentlyUsedEditor::withoutApplications(
        QString::fromUtf8(readSample(path)),
        [](const RecentlyUsedFile::Bookmark&, const RecentlyUsedFile::Application& application) {
            return application.name == u"nautilus";
        });
    ASSERT_TRUE(edit.ok) << edit.error.toStdString();
    EXPECT_EQ(edit.removedApplications, 92);
    const std::optional<QList<GLibBookmarks::Item>> after =
        GLibBookmarks::loadData(edit.text.toUtf8());
    ASSERT_TRUE(after);
    QList<GLibBookmarks::Item> expected;
    for (GLibBookmarks::Item item : *glib) {
        const qsizetype before = item.registrations.size();
        item.registrations.removeIf([](const auto& r) { return r.name == u"nautilus"; });
        if (item.registrations.isEmpty() && before > 0)
            continue;
        expected << item;
    }
    EXPECT_EQ(*after, expected);
    EXPECT_EQ(after->size(), 160 - edit.removedBookmarks);
}
} // namespace
