// The store: placeholder, refresh and the one deletion the program makes; and the notification
// center that carries "background update".

#include "AdobeRecentsReader.h"
#include "Diagnostics.h"
#include "NotificationCenter.h"
#include "OfficeRecentsReader.h"
#include "PlistWriter.h"
#include "PropertyList.h"
#include "QtPrinters.h"
#include "RecentlyUsedSource.h"
#include "TelemetryClient.h"
#include "TestHome.h"
#include "UserDefaults.h"
#include "VorlaneController.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

namespace {
class Store : public testing::Test
{
protected:
    void SetUp() override
    {
        UserDefaults::global().reload();
        previousSink = Diagnostics::setSink([this](const QString& line) { lines << line; });
        observer = NotificationCenter::defaultCenter().addObserver(
            NotificationName::backgroundUpdate, {}, [this](const Notification&) { ++updates; });
    }
    void TearDown() override
    {
        NotificationCenter::defaultCenter().removeObserver(observer);
        Diagnostics::setSink(previousSink);
    }

    void recordDocumentFor(const QString& id)
    {
        home.installApplication(id, id.section(u'.', -1));
        const QString doc =
            home.createDocument(id + QStringLiteral(".txt"), QDateTime::currentDateTime());
        home.writeRecord(id, {doc}, QDateTime::currentDateTime());
    }

    TestHome home;
    QStringList lines;
    Diagnostics::Sink previousSink;
    NotificationCenter::Token observer = 0;
    int updates = 0;
};

TEST_F(Store, nothingFoundGivesTheVorlanePlaceholder)
{
    VorlaneController store;
    EXPECT_TRUE(store.isEmpty());
    ASSERT_EQ(store.recentApps().size(), 1);
    EXPECT_EQ(store.recentApps().first().name(), QStringLiteral("Vorlane"));
    EXPECT_TRUE(store.recentApps().first().recentFiles().isEmpty());
    EXPECT_TRUE(store.recentApps().first().filePath().isEmpty());

    recordDocumentFor(QStringLiteral("org.example.Writer"));
    store.rebuild();
    EXPECT_FALSE(store.isEmpty());
    ASSERT_EQ(store.recentApps().size(), 1);
    EXPECT_EQ(store.recentApps().first().appName(), QStringLiteral("Writer"));
}

TEST_F(Store, refreshSwitchesTheRootViewOnlyWhenEmptinessChanges)
{
    VorlaneController store;
    QStringList calls;
    store.setViewHooks({
        [&] { calls << QStringLiteral("switch"); },
        [&] { calls << QStringLiteral("apps"); },
        [&] { calls << QStringLiteral("table"); },
        {}, // no grid yet
        [&] { calls << QStringLiteral("apps scrubber"); },
        [&] { calls << QStringLiteral("files scrubber"); },
    });
    EXPECT_FALSE(store.lastEmptyState());

    store.refreshFromStore();
    EXPECT_EQ(calls.join(u','), QStringLiteral("switch,apps,table,apps scrubber,files scrubber"));
    EXPECT_EQ(store.lastEmptyState(), true);

    calls.clear();
    store.refreshFromStore();
    EXPECT_FALSE(calls.contains(QStringLiteral("switch")));

    recordDocumentFor(QStringLiteral("org.example.Writer"));
    calls.clear();
    store.refreshFromStore();
    EXPECT_TRUE(calls.startsWith(QStringLiteral("switch")));
    EXPECT_EQ(store.lastEmptyState(), false);
}

TEST_F(Store, deletingAFileNoSourceWatchesPostsBackgroundUpdate)
{
    const QString word =
        officeSecureBookmarkFileUrl(QStringLiteral("com.microsoft.Word")).toLocalFile();
    const QString unwatched = home.writeFile(word + QStringLiteral(".old"), "<plist/>");
    home.writeFile(word, "<plist><dict/></plist>");
    VorlaneController store;
    EXPECT_TRUE(store.deleteRecordFile(unwatched));
    EXPECT_EQ(updates, 1);
    // The Office lists are watched: the monitor reports their removal.
    EXPECT_TRUE(store.deleteRecordFile(word));
    EXPECT_FALSE(QFile::exists(word));
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(TelemetryClient::shared().trackedEvents().last(), QStringLiteral("removeApp"));
}

// Deleting a file clears every entry read from it.
TEST_F(Store, clearingAFileClearsEveryEntryReadFromIt)
{
    const QUrl suite = QUrl::fromLocalFile(home.recordFolder() + QStringLiteral("/suite.sfl3"));
    const QUrl own = QUrl::fromLocalFile(home.recordFolder() + QStringLiteral("/own.sfl3"));
    const auto entry = [](const QUrl& file, const QString& name) {
        return RecentApp(QString(), file, name, QDateTime::currentDateTime(), {}, {});
    };
    const QList<RecentApp> listed{entry(suite, QStringLiteral("Writer")),
                                  entry(own, QStringLiteral("Own")),
                                  entry(suite, QStringLiteral("Sheets"))};
    const QList<RecentApp> others = VorlaneController::alsoClearedBy(listed.at(0), listed);
    ASSERT_EQ(others.size(), 1);
    EXPECT_EQ(others.first().name(), QStringLiteral("Sheets"));
    EXPECT_TRUE(VorlaneController::alsoClearedBy(listed.at(1), listed).isEmpty());
}

// Every Adobe application keeps its list in one file: clearing one leaves the others' lists and
// everything else in the file as they were, in the file's own format and permissions.
class AdobeClear : public Store, public testing::WithParamInterface<PlistWriter::Format>
{};

TEST_P(AdobeClear, takesOnlyThatApplicationOutOfTheSharedFile)
{
    // Adobe's file is read where the record folder can be.
    ASSERT_TRUE(QDir().mkpath(home.recordFolder()));
    const QString doc =
        home.createDocument(QStringLiteral("poster.psd"), QDateTime::currentDateTime());
    QVariantMap mru;
    for (const QString& key : {QStringLiteral("photoshop"), QStringLiteral("illustrator"),
                               QStringLiteral("lightroom")}) {
        home.installApplication(QStringLiteral("com.adobe.") + key, key);
        mru.insert(key, QVariantMap{{QStringLiteral("files"),
                                     QVariantList{QVariantMap{{QStringLiteral("file-path"), doc},
                                                              {QStringLiteral("opened"), 3}}}},
                                    {QStringLiteral("view"), 2.5}});
    }
    const QVariantMap original{
        {QStringLiteral("MRU"), mru},
        {QStringLiteral("LastFolder"), QStringLiteral("/home/someone/Pictures")},
        {QStringLiteral("Thumbnails"), QByteArray("\x00\x01\xff", 3)},
        {QStringLiteral("Saved"), QDateTime(QDate(2026, 5, 4), QTime(3, 2, 1), Qt::UTC)},
        {QStringLiteral("Grid"), true}};
    const QString path = home.writeFile(adobePreferenceFileUrl().toLocalFile(),
                                        PlistWriter::write(original, GetParam()));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    VorlaneController store;
    ASSERT_EQ(store.recentApps().size(), 3);
    const RecentApp* photoshop = store.appNamed(QStringLiteral("Photoshop"));
    ASSERT_TRUE(photoshop);
    EXPECT_TRUE(VorlaneController::alsoClearedBy(*photoshop, store.recentApps()).isEmpty());
    EXPECT_TRUE(store.clearFiles(*photoshop));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.startsWith("bplist"), GetParam() == PlistWriter::Format::Binary);
    QVariantMap expected = original;
    mru.remove(QStringLiteral("photoshop"));
    expected.insert(QStringLiteral("MRU"), mru);
    EXPECT_EQ(PropertyList::parse(bytes), QVariant(expected));
    EXPECT_EQ(QFile::permissions(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadUser | QFileDevice::WriteUser);
    store.rebuild();
    QStringList names;
    for (const RecentApp& app : store.recentApps())
        names << app.name();
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral("Illustrator"), QStringLiteral("Lightroom")}));
}

INSTANTIATE_TEST_SUITE_P(BinaryAndXml, AdobeClear,
                         testing::Values(PlistWriter::Format::Binary, PlistWriter::Format::Xml));

TEST_F(Store, deletingARecordFilePostsNothingTheMonitorSeesIt)
{
    recordDocumentFor(QStringLiteral("org.example.Writer"));
    VorlaneController store;
    ASSERT_FALSE(store.isEmpty());
    EXPECT_TRUE(store.clearFiles(store.recentApps().first()));
    EXPECT_EQ(updates, 0);
    store.rebuild();
    EXPECT_TRUE(store.isEmpty());
}

TEST_F(Store, aFailedDeletionWritesBothLinesAndKeepsEverything)
{
    VorlaneController store;
    const QString missing = home.path() + QStringLiteral("/no-such.plist");
    EXPECT_FALSE(store.deleteRecordFile(missing));
    ASSERT_EQ(lines.size(), 3) << lines.join(u'\n').toStdString(); // "No recent apps found" first
    EXPECT_EQ(lines.at(1), QStringLiteral("File to delete: ") + missing);
    EXPECT_TRUE(
        lines.at(2).startsWith(QStringLiteral("Ooops! Something went wrong trying to delete: ")));
    EXPECT_EQ(updates, 0);
}

TEST_F(Store, deletionRemovesExactlyTheNamedFile)
{
    VorlaneController store;
    const QString folder = home.path() + QStringLiteral("/folder.plist");
    QDir().mkpath(folder);
    home.writeFile(folder + QStringLiteral("/inside.txt"), "keep");
    EXPECT_FALSE(store.deleteRecordFile(folder));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/inside.txt")));

    const QString target = home.writeFile(home.path() + QStringLiteral("/target.plist"), "keep");
    const QString link = home.path() + QStringLiteral("/link.plist");
    ASSERT_TRUE(QFile::link(target, link));
    EXPECT_TRUE(store.deleteRecordFile(link));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFile::exists(target));

    const QString shared = home.writeFile(recentlyUsedFilePath(), "<xbel version=\"1.0\"/>");
    EXPECT_FALSE(store.deleteRecordFile(shared));
    EXPECT_TRUE(QFile::exists(shared));
}

TEST(NotificationCenterTest, deliversByNameAndObjectInOrderOnThePostingThread)
{
    NotificationCenter center;
    QStringList seen;
    QThread* deliveredOn = nullptr;
    const auto any =
        center.addObserver(QStringLiteral("clicked file row"), {}, [&](const Notification& n) {
            seen << QStringLiteral("any:") + n.object.toString();
            deliveredOn = QThread::currentThread();
        });
    const auto second =
        center.addObserver(QStringLiteral("clicked file row"), 2,
                           [&](const Notification&) { seen << QStringLiteral("two"); });
    center.addObserver(QStringLiteral("other"), {},
                       [&](const Notification&) { seen << QStringLiteral("other"); });

    center.post(QStringLiteral("clicked file row"), 1);
    center.post(QStringLiteral("clicked file row"), 2);
    EXPECT_EQ(seen.join(u' '), QStringLiteral("any:1 any:2 two"));

    center.removeObserver(second);
    seen.clear();
    std::unique_ptr<QThread> poster(
        QThread::create([&] { center.post(QStringLiteral("clicked file row"), 2); }));
    poster->start();
    poster->wait();
    EXPECT_EQ(seen, QStringList{QStringLiteral("any:2")});
    EXPECT_EQ(deliveredOn, poster.get());
    center.removeObserver(any);
}

TEST(NotificationCenterTest, observersMayRemoveThemselvesWhileCalled)
{
    NotificationCenter center;
    int calls = 0;
    NotificationCenter::Token token = 0;
    token = center.addObserver(QStringLiteral("once"), {}, [&](const Notification&) {
        ++calls;
        center.removeObserver(token);
    });
    center.post(QStringLiteral("once"));
    center.post(QStringLiteral("once"));
    EXPECT_EQ(calls, 1);
}
} // namespace

namespace {
TEST_F(Store, clearingASharedRecordApplicationKeepsEveryoneElse)
{
    home.installApplication(QStringLiteral("org.gnome.eog"), QStringLiteral("Image Viewer"));
    home.installApplication(QStringLiteral("org.gnome.TextEditor"), QStringLiteral("Text Editor"));
    const QString photo =
        home.createDocument(QStringLiteral("photo.png"), QDateTime::currentDateTime());
    const QString notes =
        home.createDocument(QStringLiteral("notes.txt"), QDateTime::currentDateTime());
    const QString stamp = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
    auto bookmark = [&](const QString& path, const QString& apps) {
        return QStringLiteral(
                   "<bookmark href=\"%1\" added=\"%2\" modified=\"%2\" visited=\"%2\"><info>"
                   "<metadata owner=\"http://freedesktop.org\"><bookmark:applications>%3"
                   "</bookmark:applications></metadata></info></bookmark>")
            .arg(QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded()), stamp, apps);
    };
    auto app = [&](const char* name, const char* exec) {
        return QStringLiteral("<bookmark:application name=\"%1\" exec=\"&apos;%2&apos;\" "
                              "modified=\"%3\" count=\"2\"/>")
            .arg(QString::fromLatin1(name), QString::fromLatin1(exec), stamp);
    };
    const QString xbel =
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xbel version=\"1.0\" "
            "xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\">\n") +
        bookmark(photo, app("Image Viewer", "eog %u")) + u'\n' +
        bookmark(notes,
                 app("Image Viewer", "eog %u") + app("Text Editor", "gnome-text-editor %U")) +
        QStringLiteral("\n</xbel>\n");
    const QString path = home.writeFile(recentlyUsedFilePath(), xbel.toUtf8());
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    VorlaneController store;
    ASSERT_EQ(store.recentApps().size(), 2);
    const auto viewer =
        std::find_if(store.recentApps().cbegin(), store.recentApps().cend(),
                     [](const RecentApp& a) { return a.appName() == u"Image Viewer"; });
    ASSERT_NE(viewer, store.recentApps().cend());
    EXPECT_TRUE(store.clearFiles(*viewer));
    EXPECT_EQ(updates, 1);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(QFile::permissions(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadUser | QFileDevice::WriteUser);

    store.rebuild();
    ASSERT_EQ(store.recentApps().size(), 1);
    EXPECT_EQ(store.recentApps().first().appName(), QStringLiteral("Text Editor"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString after = QString::fromUtf8(file.readAll());
    EXPECT_FALSE(after.contains(QStringLiteral("photo.png")))
        << "a bookmark left with no application goes";
    EXPECT_TRUE(after.contains(app("Text Editor", "gnome-text-editor %U")));
}
} // namespace
