#include "SystemRecordsReader.h"

#include "ArchiveWriter.h"
#include "BookmarkWriter.h"
#include "BuildRecentApps.h"
#include "Calendar.h"
#include "Diagnostics.h"
#include "PlistWriter.h"
#include "PropertyList.h"
#include "QtPrinters.h"
#include "RecordLocations.h"
#include "TestHome.h"
#include "UserDefaults.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {
const QTimeZone zone(3600);
const QDateTime now(QDate(2026, 12, 9), QTime(15, 0), zone);

QDateTime hoursAgo(int hours)
{
    return now.addSecs(-3600 * hours);
}

class SystemRecords : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        Calendar::setCurrent(Calendar::fixed(now, zone, Qt::Monday));
        UserDefaults::global().reload();
        setRecordFileSuffix(QStringLiteral(".sfl3"));
        previousSink = Diagnostics::setSink([this](const QString& line) { lines << line; });
    }

    void TearDown() override
    {
        Diagnostics::setSink(previousSink);
        Calendar::setCurrent(Calendar::system());
        setRecordFileSuffix(QStringLiteral(".sfl3"));
    }

    QString document(const QString& name, int hours)
    {
        return home.createDocument(QStringLiteral("Documents/") + name, hoursAgo(hours));
    }

    static QStringList appNames(const std::optional<QList<RecentApp>>& apps)
    {
        QStringList names;
        for (const RecentApp& app : apps.value_or(QList<RecentApp>()))
            names << app.appName();
        return names;
    }

    TestHome home;
    QStringList lines;
    Diagnostics::Sink previousSink;
};

TEST_F(SystemRecords, listsInstalledApplicationsNewestFirstWithTheirDocuments)
{
    home.installApplication(QStringLiteral("org.gnome.Evince"), QStringLiteral("Document Viewer"));
    home.installApplication(QStringLiteral("org.gnome.TextEditor"), QStringLiteral("Text Editor"));
    const QString report = document(QStringLiteral("report.pdf"), 1);
    const QString older = document(QStringLiteral("older.pdf"), 50);
    const QString notes = document(QStringLiteral("notes.txt"), 3);
    home.writeRecord(QStringLiteral("org.gnome.Evince"), {older, report}, hoursAgo(1));
    home.writeRecord(QStringLiteral("org.gnome.TextEditor"), {notes}, hoursAgo(3));

    const std::optional<QList<RecentApp>> apps = buildRecentApps();
    ASSERT_TRUE(apps);
    EXPECT_EQ(appNames(apps),
              (QStringList{QStringLiteral("Document Viewer"), QStringLiteral("Text Editor")}));

    const RecentApp& viewer = apps->first();
    const QString record = home.recordFolder() + QStringLiteral("/org.gnome.Evince.sfl3");
    EXPECT_EQ(viewer.sourceApp(),
              home.dataHome() + QStringLiteral("/applications/org.gnome.Evince.desktop"));
    EXPECT_EQ(viewer.filePath(), QUrl::fromLocalFile(record));
    EXPECT_EQ(viewer.name(), QUrl::fromLocalFile(record).toString());
    EXPECT_EQ(viewer.icon(), QStringLiteral("org.gnome.Evince"));
    EXPECT_EQ(viewer.dateModified(), hoursAgo(1));
    ASSERT_EQ(viewer.recentFiles().size(), 2);
    EXPECT_EQ(viewer.recentFiles().at(0).name(), QStringLiteral("report.pdf"));
    EXPECT_EQ(viewer.recentFiles().at(0).filePath(), QUrl::fromLocalFile(report));
    EXPECT_EQ(viewer.recentFiles().at(1).dateGroup(), QStringLiteral("This week"));
    EXPECT_EQ(viewer.groupCells(), (QList<RecentFileGroup>{{0, QStringLiteral("Today")},
                                                           {2, QStringLiteral("This week")}}));
    EXPECT_TRUE(lines.isEmpty()) << lines.join(u'\n').toStdString();
}

TEST_F(SystemRecords, skipsWhatCannotBeShown)
{
    home.installApplication(QStringLiteral("org.example.Empty"), QStringLiteral("Empty"));
    home.installApplication(QStringLiteral("org.example.Gone"), QStringLiteral("Gone"));
    home.installApplication(QStringLiteral("org.example.Shown"), QStringLiteral("Shown"));
    home.installApplication(QStringLiteral("org.example.Hidden"), QStringLiteral("Hidden"),
                            QStringLiteral("Hidden=true"));
    const QString kept = document(QStringLiteral("kept.txt"), 2);

    home.writeRecord(QStringLiteral("org.example.Empty"), {}, hoursAgo(1));
    home.writeRecord(QStringLiteral("org.example.Gone"),
                     {home.path() + QStringLiteral("/Documents/deleted.txt")}, hoursAgo(1));
    home.writeRecord(QStringLiteral("org.example.Uninstalled"), {kept}, hoursAgo(1));
    home.writeRecord(QStringLiteral("org.example.Hidden"), {kept}, hoursAgo(1));
    home.writeRecord(QStringLiteral("org.example.Shown"), {kept}, hoursAgo(2));
    home.writeRecord(QStringLiteral("org.example.Shown"), {kept}, hoursAgo(0),
                     QStringLiteral(".sfl2"));
    home.writeFile(home.recordFolder() + QStringLiteral("/notes.txt"), "not a record");

    EXPECT_EQ(appNames(buildRecentApps()), QStringList{QStringLiteral("Shown")});
}

TEST_F(SystemRecords, readsOnlyTheSuffixOfThisSystem)
{
    home.installApplication(QStringLiteral("com.apple.preview"), QStringLiteral("Preview"));
    home.installApplication(QStringLiteral("org.example.Old"), QStringLiteral("Old"));
    const QString a = document(QStringLiteral("a.png"), 1);
    const QString b = document(QStringLiteral("b.png"), 1);
    home.writeRecord(QStringLiteral("com.apple.preview"), {a}, hoursAgo(1),
                     QStringLiteral(".sfl3"));
    home.writeRecord(QStringLiteral("com.apple.preview"), {a, b}, hoursAgo(1),
                     QStringLiteral(".sfl2"));

    setRecordFileSuffix(QStringLiteral(".sfl2"));
    const std::optional<QList<RecentApp>> apps = buildRecentApps();
    ASSERT_TRUE(apps);
    ASSERT_EQ(apps->size(), 1);
    EXPECT_EQ(apps->first().recentFiles().size(), 2);
    EXPECT_TRUE(apps->first().filePath().path().endsWith(QStringLiteral(".sfl2")));
}

TEST_F(SystemRecords, sameDatesKeepTheListingOrder)
{
    for (const char* id : {"org.example.Alpha", "org.example.Beta", "org.example.Gamma"}) {
        home.installApplication(QString::fromLatin1(id), QString::fromLatin1(id).section(u'.', -1));
        home.writeRecord(QString::fromLatin1(id), {document(QString::fromLatin1(id), 5)},
                         hoursAgo(4));
    }
    EXPECT_EQ(
        appNames(buildRecentApps()),
        (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma")}));
}

TEST_F(SystemRecords, damagedRecordsAreSkippedWithTheirMessage)
{
    home.installApplication(QStringLiteral("org.example.Good"), QStringLiteral("Good"));
    for (const char* id : {"org.example.Garbage", "org.example.Plain", "org.example.Cycle",
                           "org.example.Unreadable", "org.example.Odd"})
        home.installApplication(QString::fromLatin1(id), QStringLiteral("Broken"));
    const QString doc = document(QStringLiteral("doc.txt"), 1);
    home.writeRecord(QStringLiteral("org.example.Good"), {doc}, hoursAgo(1));

    const QString folder = home.recordFolder() + u'/';
    home.writeFile(folder + QStringLiteral("org.example.Garbage.sfl3"), QByteArray(300, 'x'));
    home.writeFile(folder + QStringLiteral("org.example.Plain.sfl3"),
                   PlistWriter::write(QVariantMap{{QStringLiteral("items"), QVariantList()}}));
    const QVariant uid1 = QVariant::fromValue(PlistUid{1});
    home.writeFile(folder + QStringLiteral("org.example.Cycle.sfl3"),
                   ArchiveWriter::rawArchive(
                       {QStringLiteral("$null"),
                        QVariantMap{{QStringLiteral("$class"), QVariant::fromValue(PlistUid{2})},
                                    {QStringLiteral("NS.objects"), QVariantList{uid1}}},
                        QVariantMap{{QStringLiteral("$classname"), QStringLiteral("NSArray")}}},
                       uid1));
    const QString unreadable =
        home.writeFile(folder + QStringLiteral("org.example.Unreadable.sfl3"), "secret");
    QFile::setPermissions(unreadable, QFileDevice::Permissions());
    // Items that are not dictionaries, bookmarks that are not data or do not decode.
    home.writeFile(
        folder + QStringLiteral("org.example.Odd.sfl3"),
        ArchiveWriter::write(QVariantMap{
            {QStringLiteral("items"),
             QVariantList{QStringLiteral("text"), QVariantMap{{QStringLiteral("Bookmark"), 12}},
                          QVariantMap{{QStringLiteral("Bookmark"), QByteArray("junk")}}}}}));

    EXPECT_EQ(appNames(buildRecentApps()), QStringList{QStringLiteral("Good")});
    EXPECT_EQ(lines.count(QStringLiteral("Couldn't read file")), ::geteuid() == 0 ? 0 : 1);
    const auto errors = std::count_if(lines.cbegin(), lines.cend(), [](const QString& line) {
        return line.startsWith(QStringLiteral("Error:"));
    });
    EXPECT_EQ(errors, ::geteuid() == 0 ? 4 : 3) << lines.join(u'\n').toStdString();
}

namespace {
QVariant uid(quint64 value)
{
    return QVariant::fromValue(PlistUid{value});
}

QVariantMap archived(quint64 classUid, QVariantMap fields)
{
    fields.insert(QStringLiteral("$class"), uid(classUid));
    return fields;
}

QVariantMap classNamed(const QString& name)
{
    return {{QStringLiteral("$classname"), name},
            {QStringLiteral("$classes"), QVariantList{name, QStringLiteral("NSObject")}}};
}

// A record whose items are a good bookmark, then data that holds itself, then another good
// bookmark.
QByteArray recordWithSelfReferringItem(const QByteArray& before, const QByteArray& after)
{
    const QVariant bookmarkKey = uid(5);
    auto item = [&](quint64 bookmark) {
        return archived(1, {{QStringLiteral("NS.keys"), QVariantList{bookmarkKey}},
                            {QStringLiteral("NS.objects"), QVariantList{uid(bookmark)}}});
    };
    const QVariantList objects{
        QStringLiteral("$null"),
        classNamed(QStringLiteral("NSDictionary")),
        classNamed(QStringLiteral("NSArray")),
        classNamed(QStringLiteral("NSMutableData")),
        archived(1, {{QStringLiteral("NS.keys"), QVariantList{uid(6)}},
                     {QStringLiteral("NS.objects"), QVariantList{uid(7)}}}),
        QStringLiteral("Bookmark"),
        QStringLiteral("items"),
        archived(2, {{QStringLiteral("NS.objects"), QVariantList{uid(8), uid(10), uid(12)}}}),
        item(9),
        before,
        item(11),
        archived(3, {{QStringLiteral("NS.data"), uid(11)}}),
        item(13),
        after,
    };
    return ArchiveWriter::rawArchive(objects, uid(4));
}
} // namespace

TEST_F(SystemRecords, aRecordLeadingBackToItselfKeepsTheItemsBeforeTheFault)
{
    home.installApplication(QStringLiteral("org.example.Looping"), QStringLiteral("Looping"));
    const QString first = document(QStringLiteral("first.txt"), 1);
    const QString last = document(QStringLiteral("last.txt"), 2);
    home.writeFile(home.recordFolder() + QStringLiteral("/org.example.Looping.sfl3"),
                   recordWithSelfReferringItem(BookmarkWriter::forPath(first, home.path()),
                                               BookmarkWriter::forPath(last, home.path())));

    const RecordContents contents = readRecordFile(
        QUrl::fromLocalFile(home.recordFolder() + QStringLiteral("/org.example.Looping.sfl3")));
    ASSERT_TRUE(contents.files);
    ASSERT_EQ(contents.files->size(), 1);
    EXPECT_EQ(contents.files->first().filePath(), QUrl::fromLocalFile(first));
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines.first().startsWith(QStringLiteral("Error:"))) << lines.first().toStdString();

    // A root dictionary keyed by itself: nothing is read, and the build goes on.
    const QVariantList selfKeyedRoot{
        QStringLiteral("$null"), classNamed(QStringLiteral("NSDictionary")),
        archived(1, {{QStringLiteral("NS.keys"), QVariantList{uid(2)}},
                     {QStringLiteral("NS.objects"), QVariantList{uid(0)}}})};
    home.installApplication(QStringLiteral("org.example.SelfKeyed"), QStringLiteral("SelfKeyed"));
    home.writeFile(home.recordFolder() + QStringLiteral("/org.example.SelfKeyed.sfl3"),
                   ArchiveWriter::rawArchive(selfKeyedRoot, uid(2)));
    lines.clear();
    EXPECT_EQ(appNames(buildRecentApps()), QStringList{QStringLiteral("Looping")});
    EXPECT_EQ(lines.filter(QStringLiteral("Error:")).size(), 2) << lines.join(u'\n').toStdString();
}

TEST_F(SystemRecords, nothingFoundIsSaidOnce)
{
    EXPECT_FALSE(buildRecentApps());
    EXPECT_EQ(lines, QStringList{QStringLiteral("No recent apps found")});

    lines.clear();
    QDir().mkpath(home.recordFolder());
    EXPECT_FALSE(buildRecentApps());
    EXPECT_EQ(lines, QStringList{QStringLiteral("No recent apps found")});
}

TEST_F(SystemRecords, applicationNamesComeFromTheDesktopEntry)
{
    home.installApplication(QStringLiteral("org.example.Localized"), QStringLiteral("Viewer"),
                            QStringLiteral("Name[de]=Betrachter\nName[de_AT]=Anzeiger"));
    home.writeFile(home.dataHome() + QStringLiteral("/applications/org.example.Nameless.desktop"),
                   "[Desktop Entry]\nType=Application\nExec=nameless\n");
    const QString doc = document(QStringLiteral("doc.txt"), 1);
    home.writeRecord(QStringLiteral("org.example.Localized"), {doc}, hoursAgo(1));
    home.writeRecord(QStringLiteral("org.example.Nameless"), {doc}, hoursAgo(2));

    const QByteArray previousLocale = qgetenv("LC_ALL");
    qputenv("LC_ALL", "de_DE.UTF-8");
    const QStringList german = appNames(buildRecentApps());
    qputenv("LC_ALL", "C");
    const QStringList plain = appNames(buildRecentApps());
    qputenv("LC_ALL", previousLocale);
    EXPECT_EQ(german, (QStringList{QStringLiteral("Betrachter"), QStringLiteral("App")}));
    EXPECT_EQ(plain, (QStringList{QStringLiteral("Viewer"), QStringLiteral("App")}));
}

TEST_F(SystemRecords, applicationsInSubfoldersAreFoundByTheirDesktopId)
{
    const QString konsole =
        home.writeFile(home.systemDataDir() + QStringLiteral("/applications/kde4/konsole.desktop"),
                       "[Desktop Entry]\nType=Application\nName=Konsole\nExec=konsole\n");
    const QString doc = document(QStringLiteral("session.log"), 1);
    home.writeRecord(QStringLiteral("kde4-konsole"), {doc}, hoursAgo(1));
    const std::optional<QList<RecentApp>> apps = buildRecentApps();
    EXPECT_EQ(appNames(apps), QStringList{QStringLiteral("Konsole")});
    ASSERT_TRUE(apps);
    EXPECT_EQ(apps->first().sourceApp(), konsole);

    // The id is the entry's, whichever folder holds it: the user's entry hides the system one.
    home.installApplication(QStringLiteral("kde4-konsole"), QStringLiteral("Konsole"),
                            QStringLiteral("Hidden=true"));
    EXPECT_FALSE(buildRecentApps());
}

TEST_F(SystemRecords, theUsersEntryHidesTheSystemOne)
{
    home.writeFile(home.systemDataDir() + QStringLiteral("/applications/org.example.Sys.desktop"),
                   "[Desktop Entry]\nType=Application\nName=System Copy\n");
    const QString doc = document(QStringLiteral("doc.txt"), 1);
    home.writeRecord(QStringLiteral("org.example.Sys"), {doc}, hoursAgo(1));
    EXPECT_EQ(appNames(buildRecentApps()), QStringList{QStringLiteral("System Copy")});

    home.installApplication(QStringLiteral("org.example.Sys"), QStringLiteral("User Copy"));
    EXPECT_EQ(appNames(buildRecentApps()), QStringList{QStringLiteral("User Copy")});

    home.installApplication(QStringLiteral("org.example.Sys"), QStringLiteral("User Copy"),
                            QStringLiteral("Hidden=true"));
    EXPECT_FALSE(buildRecentApps());
}
} // namespace

namespace {
// A recently-used.xbel as GLib writes it: each document with the applications that used it.
QByteArray xbelWith(const QList<std::tuple<QString, QString, QString, QDateTime>>& registrations)
{
    QByteArray text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xbel version=\"1.0\" "
                      "xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\" "
                      "xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    for (const auto& [path, name, exec, used] : registrations) {
        const QByteArray stamp = used.toUTC().toString(Qt::ISODateWithMs).toUtf8();
        text += "<bookmark href=\"" + QUrl::fromLocalFile(path).toEncoded() + "\" added=\"" +
                stamp + "\" modified=\"" + stamp + "\" visited=\"" + stamp +
                "\"><info><metadata owner=\"http://freedesktop.org\">"
                "<bookmark:applications><bookmark:application name=\"" +
                name.toUtf8() + "\" exec=\"&apos;" + exec.toUtf8() + "&apos;\" modified=\"" +
                stamp + "\" count=\"1\"/></bookmark:applications></metadata></info></bookmark>\n";
    }
    return text + "</xbel>\n";
}

TEST_F(SystemRecords, theDesktopsSharedRecordIsReadEvenWithoutARecordFolder)
{
    home.installApplication(QStringLiteral("org.gnome.eog"), QStringLiteral("Image Viewer"));
    home.installApplication(QStringLiteral("com.microsoft.Word"), QStringLiteral("Word"));
    const QString photo = document(QStringLiteral("photo.png"), 30);
    const QString report = document(QStringLiteral("report.docx"), 1);
    home.writeFile(
        home.dataHome() + QStringLiteral("/recently-used.xbel"),
        xbelWith({{photo, QStringLiteral("Image Viewer"), QStringLiteral("eog %u"), hoursAgo(2)}}));
    home.writeFile(
        home.path() + QStringLiteral("/Library/Containers/com.microsoft.Word/Data/Library/"
                                     "Preferences/com.microsoft.Word.securebookmarks.plist"),
        PlistWriter::write(QVariantMap{
            {QStringLiteral("a"), QVariantMap{{QStringLiteral("kBookmarkDataKey"),
                                               BookmarkWriter::forPath(report, home.path())}}}}));

    // No record folder: the Office list is not consulted, the shared record still is.
    const std::optional<QList<RecentApp>> apps = buildRecentApps();
    EXPECT_EQ(appNames(apps), QStringList{QStringLiteral("Image Viewer")});
    ASSERT_TRUE(apps);
    const RecentFile& file = apps->first().recentFiles().first();
    EXPECT_EQ(file.filePath(), QUrl::fromLocalFile(photo));
    EXPECT_EQ(file.dateAccessed(), hoursAgo(2)) << "dated by the application's own stamp";
    EXPECT_EQ(apps->first().dateModified(), hoursAgo(2));
    EXPECT_TRUE(lines.isEmpty());

    QDir().mkpath(home.recordFolder());
    EXPECT_EQ(appNames(buildRecentApps()).size(), 2);
}

TEST_F(SystemRecords, recordsAreDatedByTheSharedRecordWhenItKnowsTheDocument)
{
    home.installApplication(QStringLiteral("org.gnome.Evince"), QStringLiteral("Document Viewer"));
    const QString paper = document(QStringLiteral("paper.pdf"), 100);
    home.writeRecord(QStringLiteral("org.gnome.Evince"), {paper}, hoursAgo(1));
    home.writeFile(home.dataHome() + QStringLiteral("/recently-used.xbel"),
                   xbelWith({{paper, QStringLiteral("Somebody Else"), QStringLiteral("nobody %u"),
                              hoursAgo(3)}}));
    const std::optional<QList<RecentApp>> apps = buildRecentApps();
    ASSERT_TRUE(apps);
    ASSERT_EQ(apps->size(), 1); // the uninstalled "Somebody Else" is no entry
    EXPECT_EQ(apps->first().recentFiles().first().dateAccessed(), hoursAgo(3));
}
} // namespace
