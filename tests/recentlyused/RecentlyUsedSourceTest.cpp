// The shared recently-used file as a source of list entries, and as the desktop's answer to
// "when was this document last used".

#include "RecentlyUsedSource.h"

#include "Calendar.h"
#include "DateRules.h"
#include "DesktopApplicationIndex.h"
#include "GLibBookmarks.h"
#include "MetadataQuery.h"
#include "QtPrinters.h"
#include "RecentlyUsedMetadata.h"
#include "TestHome.h"
#include "UserDefaults.h"
#include "XbelFiles.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {
const QTimeZone zone(3600);
// A Wednesday.
const QDateTime now(QDate(2026, 12, 9), QTime(15, 0), zone);

QDateTime hoursAgo(int hours)
{
    return now.addSecs(-3600 * hours);
}

class RecentlyUsedSourceTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        Calendar::setCurrent(Calendar::fixed(now, zone, Qt::Monday));
        UserDefaults::global().reload();
        MetadataQuery::setCurrent(nullptr);
        home.installApplication(QStringLiteral("org.gnome.eog"), QStringLiteral("Image Viewer"));
        home.installApplication(QStringLiteral("org.kde.okular"), QStringLiteral("Okular"));
        home.installApplication(QStringLiteral("org.gnome.TextEditor"),
                                QStringLiteral("Text Editor"));
    }

    void TearDown() override
    {
        MetadataQuery::setCurrent(nullptr);
        Calendar::setCurrent(Calendar::system());
    }

    QString xbelPath() const { return home.dataHome() + QStringLiteral("/recently-used.xbel"); }

    // A document that exists, and its URI as GLib writes it.
    QString document(const QString& relativePath)
    {
        return XbelFiles::fileUri(home.createDocument(relativePath, hoursAgo(24 * 30)));
    }

    QList<RecentApp> read() { return readRecentlyUsedEntries(RecentlyUsedFile::load(xbelPath())); }

    static QStringList fileNames(const RecentApp& app)
    {
        QStringList names;
        for (const RecentFile& file : app.recentFiles())
            names << file.name();
        return names;
    }

    static const RecentApp* entryFor(const QList<RecentApp>& apps, const QString& desktopId)
    {
        for (const RecentApp& app : apps)
            if (recentlyUsedDesktopId(app.filePath()) == desktopId)
                return &app;
        return nullptr;
    }

    TestHome home;
};

TEST_F(RecentlyUsedSourceTest, oneEntryPerInstalledApplicationWithItsDocumentsNewestFirst)
{
    const QString photo = document(QStringLiteral("Pictures/photo.jpg"));
    const QString scan = document(QStringLiteral("Pictures/scan 2.png"));
    const QString paper = document(QStringLiteral("Papers/paper.pdf"));
    const QString notes = document(QStringLiteral("notes.txt"));
    GLibBookmarks writer;
    writer.registerDocument(photo, QStringLiteral("Image Viewer"), QStringLiteral("eog %u"),
                            hoursAgo(1));
    writer.registerDocument(scan, QStringLiteral("Image Viewer"), QStringLiteral("eog %u"),
                            hoursAgo(24 * 10));
    writer.registerDocument(paper, QStringLiteral("org.kde.okular"), QStringLiteral("okular %u"),
                            hoursAgo(3));
    writer.registerDocument(notes, QStringLiteral("Uninstalled Tool"),
                            QStringLiteral("uninstalled %u"), hoursAgo(0));
    // The image viewer's own stamp dates the photo, not the bookmark's later change.
    writer.registerDocument(photo, QStringLiteral("Uninstalled Tool"),
                            QStringLiteral("uninstalled %u"), hoursAgo(0));
    ASSERT_TRUE(writer.save(xbelPath()));

    const QList<RecentApp> apps = read();
    ASSERT_EQ(apps.size(), 2);
    EXPECT_EQ(apps.at(0).appName(), QStringLiteral("Image Viewer"));
    EXPECT_EQ(apps.at(1).appName(), QStringLiteral("Okular"));
    EXPECT_EQ(apps.at(0).sourceApp(),
              home.dataHome() + QStringLiteral("/applications/org.gnome.eog.desktop"));
    EXPECT_EQ(apps.at(0).dateModified(), hoursAgo(1));
    EXPECT_EQ(apps.at(1).dateModified(), hoursAgo(3));

    EXPECT_EQ(fileNames(apps.at(0)),
              (QStringList{QStringLiteral("photo.jpg"), QStringLiteral("scan 2.png")}));
    EXPECT_EQ(apps.at(0).recentFiles().at(0).dateAccessed(), hoursAgo(1));
    EXPECT_EQ(apps.at(0).recentFiles().at(0).filePath(),
              QUrl::fromLocalFile(home.path() + QStringLiteral("/Pictures/photo.jpg")));
    EXPECT_EQ(apps.at(0).recentFiles().at(1).dateAccessed(), hoursAgo(24 * 10));
    EXPECT_EQ(apps.at(0).groupCells(),
              (QList<RecentFileGroup>{{0, QStringLiteral("Today")},
                                      {2, QStringLiteral("Last week and beyond")}}));
}

TEST_F(RecentlyUsedSourceTest, identityIsTheFileAndTheDesktopIdStableAndDistinct)
{
    const QString photo = document(QStringLiteral("photo.jpg"));
    GLibBookmarks writer;
    writer.registerDocument(photo, QStringLiteral("Image Viewer"), QStringLiteral("eog %u"),
                            hoursAgo(1));
    writer.registerDocument(photo, QStringLiteral("Okular"), QStringLiteral("okular %u"),
                            hoursAgo(2));
    ASSERT_TRUE(writer.save(xbelPath()));

    const QList<RecentApp> first = read();
    const QList<RecentApp> second = read();
    ASSERT_EQ(first.size(), 2);
    ASSERT_EQ(second.size(), 2);
    const QUrl xbelUrl = QUrl::fromLocalFile(xbelPath());
    EXPECT_EQ(first.at(0).name(), xbelUrl.toString() + QStringLiteral("#org.gnome.eog"));
    EXPECT_EQ(first.at(1).name(), xbelUrl.toString() + QStringLiteral("#org.kde.okular"));
    EXPECT_EQ(first.at(0).filePath().toLocalFile(), xbelPath());
    EXPECT_EQ(first.at(0).filePath().path(), xbelPath());
    EXPECT_EQ(recentlyUsedDesktopId(first.at(0).filePath()), QStringLiteral("org.gnome.eog"));
    EXPECT_EQ(first.at(0).filePath(),
              recentlyUsedEntryUrl(xbelPath(), QStringLiteral("org.gnome.eog")));
    for (qsizetype i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first.at(i).name(), second.at(i).name());
        EXPECT_EQ(first.at(i).filePath(), second.at(i).filePath());
    }
    EXPECT_NE(first.at(0).name(), first.at(1).name());

    // Other sources' entries are not taken for this one's.
    EXPECT_TRUE(recentlyUsedDesktopId(QUrl::fromLocalFile(QStringLiteral("/a/b.sfl3"))).isEmpty());
    EXPECT_TRUE(recentlyUsedDesktopId(QUrl::fromLocalFile(xbelPath())).isEmpty());
    QString error;
    EXPECT_FALSE(clearRecentlyUsedEntry(QUrl::fromLocalFile(QStringLiteral("/a/b.sfl3")), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(RecentlyUsedSourceTest, clearingAnEntryRemovesOnlyItsApplicationFromTheFile)
{
    const QString photo = document(QStringLiteral("photo.jpg"));
    const QString paper = document(QStringLiteral("paper.pdf"));
    GLibBookmarks writer;
    writer.registerDocument(photo, QStringLiteral("Image Viewer"), QStringLiteral("eog %u"),
                            hoursAgo(1));
    writer.registerDocument(paper, QStringLiteral("Image Viewer"), QStringLiteral("eog %u"),
                            hoursAgo(2));
    writer.registerDocument(paper, QStringLiteral("org.kde.okular"), QStringLiteral("okular %u"),
                            hoursAgo(3));
    ASSERT_TRUE(writer.save(xbelPath()));

    const QList<RecentApp> before = read();
    ASSERT_EQ(before.size(), 2);
    const RecentApp* viewer = entryFor(before, QStringLiteral("org.gnome.eog"));
    ASSERT_TRUE(viewer);
    QString error;
    ASSERT_TRUE(clearRecentlyUsedEntry(viewer->filePath(), &error)) << error.toStdString();

    // The file is still there, with the other application's history.
    ASSERT_TRUE(QFile::exists(xbelPath()));
    const QList<RecentApp> after = read();
    ASSERT_EQ(after.size(), 1);
    EXPECT_EQ(after.first().name(), entryFor(before, QStringLiteral("org.kde.okular"))->name());
    EXPECT_EQ(fileNames(after.first()), QStringList{QStringLiteral("paper.pdf")});
    EXPECT_EQ(after.first().dateModified(), hoursAgo(3));
}

TEST_F(RecentlyUsedSourceTest, namesOfOneApplicationMakeOneEntry)
{
    // GTK's Text Editor registers its display name, KDE's file dialog the desktop id.
    const QString a = document(QStringLiteral("a.txt"));
    const QString b = document(QStringLiteral("b.txt"));
    const QString c = document(QStringLiteral("c.txt"));
    GLibBookmarks writer;
    writer.registerDocument(a, QStringLiteral("Text Editor"),
                            QStringLiteral("gnome-text-editor %U"), hoursAgo(5));
    writer.registerDocument(a, QStringLiteral("org.gnome.TextEditor"),
                            QStringLiteral("gnome-text-editor %U"), hoursAgo(2));
    writer.registerDocument(b, QStringLiteral("Text Editor"),
                            QStringLiteral("gnome-text-editor %U"), hoursAgo(4));
    writer.registerDocument(c, QStringLiteral("org.gnome.TextEditor"),
                            QStringLiteral("gnome-text-editor %U"), hoursAgo(3));
    ASSERT_TRUE(writer.save(xbelPath()));

    const QList<RecentApp> apps = read();
    ASSERT_EQ(apps.size(), 1);
    EXPECT_EQ(
        fileNames(apps.first()),
        (QStringList{QStringLiteral("a.txt"), QStringLiteral("c.txt"), QStringLiteral("b.txt")}));
    EXPECT_EQ(apps.first().recentFiles().first().dateAccessed(), hoursAgo(2));
    EXPECT_EQ(apps.first().dateModified(), hoursAgo(2));
}

TEST_F(RecentlyUsedSourceTest, applicationsSharingANameKeepTheirOwnHistory)
{
    // GNOME's Text Editor and gedit are both "Text Editor"; only the exec line tells them apart.
    home.installApplication(QStringLiteral("org.gnome.gedit"), QStringLiteral("Text Editor"));
    const QString draft = document(QStringLiteral("draft.txt"));
    const QString notes = document(QStringLiteral("notes.txt"));
    const QString page = QStringLiteral("https://example.org/page.html");
    GLibBookmarks writer;
    writer.registerDocument(draft, QStringLiteral("Text Editor"), QStringLiteral("texteditor %u"),
                            hoursAgo(1));
    writer.registerDocument(notes, QStringLiteral("Text Editor"), QStringLiteral("gedit %u"),
                            hoursAgo(2));
    // Not a file, so never listed: clearing the editor must leave it too.
    writer.registerDocument(page, QStringLiteral("Text Editor"), QStringLiteral("texteditor %u"),
                            hoursAgo(3));
    ASSERT_TRUE(writer.save(xbelPath()));

    const QList<RecentApp> apps = read();
    ASSERT_EQ(apps.size(), 2);
    const RecentApp* editor = entryFor(apps, QStringLiteral("org.gnome.TextEditor"));
    const RecentApp* gedit = entryFor(apps, QStringLiteral("org.gnome.gedit"));
    ASSERT_TRUE(editor && gedit);
    EXPECT_EQ(fileNames(*editor), QStringList{QStringLiteral("draft.txt")});
    EXPECT_EQ(fileNames(*gedit), QStringList{QStringLiteral("notes.txt")});

    QString error;
    ASSERT_TRUE(clearRecentlyUsedEntry(editor->filePath(), &error)) << error.toStdString();
    const std::optional<QList<GLibBookmarks::Item>> after = GLibBookmarks::load(xbelPath(), &error);
    ASSERT_TRUE(after) << error.toStdString();
    QStringList uris;
    for (const GLibBookmarks::Item& item : *after)
        uris << item.uri;
    uris.sort();
    EXPECT_EQ(uris, (QStringList{notes, page}));
    const QList<RecentApp> left = read();
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(fileNames(left.first()), QStringList{QStringLiteral("notes.txt")});
}

TEST_F(RecentlyUsedSourceTest, onlyExistingLocalDocumentsCountOncePerFile)
{
    const QString kept = document(QStringLiteral("Docs/kept (1).txt"));
    const QString keptOtherwise =
        QStringLiteral("file://localhost") +
        QString(kept).remove(0, 7).replace(QStringLiteral("(1)"), QStringLiteral("%281%29"));
    const QString gone = XbelFiles::fileUri(home.path() + QStringLiteral("/Docs/deleted.txt"));
    const QString onlyGone = XbelFiles::fileUri(home.path() + QStringLiteral("/other.txt"));
    GLibBookmarks writer;
    writer.registerDocument(kept, QStringLiteral("Image Viewer"), QStringLiteral("eog %u"),
                            hoursAgo(3));
    writer.registerDocument(keptOtherwise, QStringLiteral("Image Viewer"), QStringLiteral("eog %u"),
                            hoursAgo(1));
    writer.registerDocument(gone, QStringLiteral("Image Viewer"), QStringLiteral("eog %u"),
                            hoursAgo(0));
    writer.registerDocument(QStringLiteral("sftp://server/home/u/remote.txt"),
                            QStringLiteral("Image Viewer"), QStringLiteral("eog %u"), hoursAgo(0));
    writer.registerDocument(QStringLiteral("trash:///x.txt"), QStringLiteral("Image Viewer"),
                            QStringLiteral("eog %u"), hoursAgo(0));
    writer.registerDocument(onlyGone, QStringLiteral("Okular"), QStringLiteral("okular %u"),
                            hoursAgo(0));
    ASSERT_TRUE(writer.save(xbelPath()));

    const QList<RecentApp> apps = read();
    ASSERT_EQ(apps.size(), 1);
    EXPECT_EQ(fileNames(apps.first()), QStringList{QStringLiteral("kept (1).txt")});
    EXPECT_EQ(apps.first().recentFiles().first().dateAccessed(), hoursAgo(1));
    EXPECT_EQ(apps.first().dateModified(), hoursAgo(1));
}

// Each document's path is kept as it was decoded from the file; its URL must give it back.
TEST_F(RecentlyUsedSourceTest, documentsKeepTheirPathsAsTheirUrlsGiveThem)
{
    GLibBookmarks writer;
    for (const QString& name :
         {QStringLiteral("plain.txt"), QStringLiteral("100% #1?.txt"),
          QStringLiteral("[brackets] {braces} <angles>.txt"), QStringLiteral("été 文書 😀.txt"),
          QStringLiteral("a:b;c=d&e'f\"g.txt"), QStringLiteral(".hidden"),
          QStringLiteral("tab\tand\u00a0space "), QStringLiteral("%2F%41.txt")})
        writer.registerDocument(document(QStringLiteral("Odd/") + name),
                                QStringLiteral("Image Viewer"), QStringLiteral("eog %u"),
                                hoursAgo(2));
    ASSERT_TRUE(writer.save(xbelPath()));

    const QList<RecentApp> apps = read();
    ASSERT_EQ(apps.size(), 1);
    ASSERT_EQ(apps.first().recentFiles().size(), 8);
    for (const RecentFile& file : apps.first().recentFiles()) {
        EXPECT_EQ(file.localPath(), file.filePath().toLocalFile());
        EXPECT_EQ(file.name(), displayName(file.filePath()));
    }
}

TEST_F(RecentlyUsedSourceTest, privateDocumentsShowOnlyUnderTheApplicationsThatRegisteredThem)
{
    const QString secret = document(QStringLiteral("secret.pdf"));
    GLibBookmarks writer;
    writer.registerDocument(secret, QStringLiteral("Okular"), QStringLiteral("okular %u"),
                            hoursAgo(1));
    writer.setPrivate(secret, true);
    writer.registerDocument(document(QStringLiteral("public.png")), QStringLiteral("Image Viewer"),
                            QStringLiteral("eog %u"), hoursAgo(2));
    ASSERT_TRUE(writer.save(xbelPath()));

    const QList<RecentApp> apps = read();
    ASSERT_EQ(apps.size(), 2);
    EXPECT_EQ(fileNames(*entryFor(apps, QStringLiteral("org.kde.okular"))),
              QStringList{QStringLiteral("secret.pdf")});
    EXPECT_EQ(fileNames(*entryFor(apps, QStringLiteral("org.gnome.eog"))),
              QStringList{QStringLiteral("public.png")});
}

TEST_F(RecentlyUsedSourceTest, aRegistrationWithoutAnyDateIsDatedLikeAnyUndatedDocument)
{
    const QString path = home.createDocument(QStringLiteral("undated.txt"), hoursAgo(50));
    home.writeFile(xbelPath(),
                   XbelFiles::document("<bookmark href=\"" + XbelFiles::fileUri(path).toUtf8() +
                                       "\"><info><metadata owner=\"http://freedesktop.org\">"
                                       "<bookmark:applications><bookmark:application "
                                       "name=\"Image Viewer\" exec=\"'eog %u'\"/>"
                                       "</bookmark:applications></metadata></info></bookmark>\n"));
    const QList<RecentApp> apps = read();
    ASSERT_EQ(apps.size(), 1);
    // Its modification date, never the moment of reading.
    EXPECT_EQ(apps.first().recentFiles().first().dateAccessed(), hoursAgo(50));
}

TEST_F(RecentlyUsedSourceTest, emptyAndMissingFilesGiveNothing)
{
    EXPECT_TRUE(read().isEmpty());
    home.writeFile(xbelPath(), "");
    EXPECT_TRUE(read().isEmpty());
    home.writeFile(xbelPath(), XbelFiles::document({}));
    EXPECT_TRUE(read().isEmpty());
}

TEST_F(RecentlyUsedSourceTest, theFileDatesDocumentsOfEverySource)
{
    const QString twice = home.createDocument(QStringLiteral("twice.txt"), hoursAgo(100));
    const QString noApplications = home.createDocument(QStringLiteral("bare.txt"), hoursAgo(100));
    const QString absent = home.createDocument(QStringLiteral("absent.txt"), hoursAgo(100));
    const QByteArray twiceHref = XbelFiles::fileUri(twice).toUtf8();
    home.writeFile(
        xbelPath(),
        XbelFiles::document(
            XbelFiles::bookmark(XbelFiles::fileUri(twice),
                                {{QStringLiteral("Image Viewer"), QStringLiteral("'eog %u'"),
                                  XbelFiles::glibStamp(hoursAgo(7))},
                                 {QStringLiteral("Unknown"), QStringLiteral("'unknown %u'"),
                                  XbelFiles::glibStamp(hoursAgo(6))}},
                                XbelFiles::glibStamp(hoursAgo(1))) +
            // The same file, escaped differently and registered later elsewhere.
            XbelFiles::bookmark(QString::fromUtf8(twiceHref).replace(
                                    QStringLiteral("file://"), QStringLiteral("file://localhost")),
                                {{QStringLiteral("Okular"), QStringLiteral("okular %u"),
                                  XbelFiles::glibStamp(hoursAgo(5))}},
                                XbelFiles::glibStamp(hoursAgo(5))) +
            "  <bookmark href=\"" + XbelFiles::fileUri(noApplications).toUtf8() +
            "\" added=\"2026-12-01T10:00:00Z\" modified=\"2026-12-02T10:00:00Z\" "
            "visited=\"2026-12-09T10:00:00Z\"/>\n"));

    const RecentlyUsedFile file = RecentlyUsedFile::load(xbelPath());
    const auto metadata = std::make_shared<RecentlyUsedMetadata>(file);
    EXPECT_EQ(metadata->size(), 2);
    // The newest application stamp of any bookmark of the file, installed application or not.
    EXPECT_EQ(metadata->lastUsedDate(QUrl::fromLocalFile(twice)), hoursAgo(5));
    // No applications: the bookmark's modification date; "visited" is never used.
    EXPECT_EQ(metadata->lastUsedDate(QUrl::fromLocalFile(noApplications)),
              QDateTime(QDate(2026, 12, 2), QTime(10, 0), Qt::UTC));
    EXPECT_EQ(metadata->lastUsedDate(QUrl::fromLocalFile(absent)), std::nullopt);
    EXPECT_EQ(metadata->lastUsedDate(QUrl(QStringLiteral("https://example.org/a"))), std::nullopt);
    EXPECT_EQ(
        metadata->lastUsedDate(QUrl::fromLocalFile(home.path() + QStringLiteral("/./twice.txt"))),
        hoursAgo(5));

    // Installed as the desktop's answer, it dates documents of the other sources.
    MetadataQuery::setCurrent(metadata);
    EXPECT_EQ(lastUsedDate(QUrl::fromLocalFile(twice), false), hoursAgo(5));
    EXPECT_EQ(lastUsedDate(QUrl::fromLocalFile(absent), false), hoursAgo(100));
    EXPECT_EQ(makeRecentFile(QUrl::fromLocalFile(twice), QVariant(), false).dateAccessed(),
              hoursAgo(5));
}
} // namespace
