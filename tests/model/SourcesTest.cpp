// The Adobe and Office sources, read from real-format preference files in a temporary home; and
// every source as the list of sources gives it.

#include "AdobeRecentsReader.h"
#include "BookmarkWriter.h"
#include "Calendar.h"
#include "OfficeRecentsReader.h"
#include "PlistWriter.h"
#include "QtPrinters.h"
#include "RecentSources.h"
#include "RecentlyUsedSource.h"
#include "TestHome.h"
#include "UserDefaults.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace {
const QTimeZone zone(3600);
const QDateTime now(QDate(2026, 12, 9), QTime(15, 0), zone);

QDateTime hoursAgo(int hours)
{
    return now.addSecs(-3600 * hours);
}

QStringList namesOf(const QList<RecentFile>& files)
{
    QStringList names;
    for (const RecentFile& file : files)
        names << file.name();
    return names;
}

class Sources : public testing::Test
{
protected:
    void SetUp() override
    {
        Calendar::setCurrent(Calendar::fixed(now, zone, Qt::Monday));
        UserDefaults::global().reload();
    }
    void TearDown() override { Calendar::setCurrent(Calendar::system()); }

    QString adobeFile() const
    {
        return home.path() + QStringLiteral("/Library/Preferences/com.adobe.mediabrowser.plist");
    }

    void writeAdobe(const QVariantMap& mru, PlistWriter::Format format = PlistWriter::Format::Xml)
    {
        home.writeFile(adobeFile(),
                       PlistWriter::write(QVariantMap{{QStringLiteral("MRU"), mru}}, format));
    }

    static QVariantMap adobeApp(const QStringList& paths)
    {
        QVariantList files;
        for (const QString& path : paths)
            files << QVariantMap{{QStringLiteral("file-path"), path}};
        return {{QStringLiteral("files"), files}};
    }

    QString officeFile(const QString& id) const
    {
        return officeSecureBookmarkFileUrl(id).toLocalFile();
    }

    void writeOffice(const QString& id, const QList<QByteArray>& bookmarks,
                     const QDateTime& modified)
    {
        QVariantMap entries;
        for (qsizetype i = 0; i < bookmarks.size(); ++i)
            entries.insert(QStringLiteral("entry %1").arg(i),
                           QVariantMap{{QStringLiteral("kBookmarkDataKey"), bookmarks.at(i)},
                                       {QStringLiteral("kLastUsedDateKey"), now}});
        home.writeFile(officeFile(id), PlistWriter::write(entries));
        TestHome::setModificationTime(officeFile(id), modified);
    }

    QByteArray bookmarkTo(const QString& path) const
    {
        return BookmarkWriter::forPath(path, home.path());
    }

    TestHome home;
};

TEST_F(Sources, adobeEntriesPerInstalledApplicationWithExistingFiles)
{
    home.installApplication(QStringLiteral("com.adobe.imageeditor"),
                            QStringLiteral("Image Editor"));
    home.installApplication(QStringLiteral("com.adobe.ImageEditor"),
                            QStringLiteral("Image Editor 2"));
    home.installApplication(QStringLiteral("com.adobe.gone"), QStringLiteral("Gone"));
    const QString photo = home.createDocument(QStringLiteral("photo.psd"), hoursAgo(2));
    const QString poster = home.createDocument(QStringLiteral("poster.psd"), hoursAgo(30));
    writeAdobe({{QStringLiteral("imageeditor"), adobeApp({poster, photo})},
                {QStringLiteral("ImageEditor"), adobeApp({photo})},
                {QStringLiteral("gone"), adobeApp({home.path() + QStringLiteral("/deleted.psd")})},
                {QStringLiteral("uninstalled"), adobeApp({photo})},
                {QStringLiteral("odd"), QStringLiteral("not a dictionary")}});

    const QList<RecentApp> entries = readAdobeEntries();
    ASSERT_EQ(entries.size(), 2);
    for (const RecentApp& entry : entries) {
        EXPECT_EQ(entry.name(), QStringLiteral("Imageeditor"));
        EXPECT_EQ(entry.filePath(), QUrl::fromLocalFile(adobeFile()));
    }
    const RecentApp& editor =
        entries.at(0).appName() == u"Image Editor 2" ? entries.at(1) : entries.at(0);
    EXPECT_EQ(namesOf(editor.recentFiles()),
              (QStringList{QStringLiteral("photo.psd"), QStringLiteral("poster.psd")}));
    EXPECT_EQ(editor.dateModified(), hoursAgo(2));
}

TEST_F(Sources, adobeDropboxFilesAreDatedByModification)
{
    home.installApplication(QStringLiteral("com.adobe.photoshop"), QStringLiteral("Photoshop"));
    const QString shared = home.createDocument(QStringLiteral("Dropbox/shared.psd"), hoursAgo(50));
    writeAdobe({{QStringLiteral("photoshop"), adobeApp({shared})}}, PlistWriter::Format::Binary);
    const QList<RecentApp> entries = readAdobeEntries();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries.first().recentFiles().first().dateAccessed(), hoursAgo(50));
}

TEST_F(Sources, capitalizedWorksWordByWord)
{
    EXPECT_EQ(capitalized(QStringLiteral("imageeditor")), QStringLiteral("Imageeditor"));
    EXPECT_EQ(capitalized(QStringLiteral("ImageEditor")), QStringLiteral("Imageeditor"));
    EXPECT_EQ(capitalized(QStringLiteral("after EFFECTS\tpro")),
              QStringLiteral("After Effects\tPro"));
    EXPECT_EQ(capitalized(QStringLiteral("in-design")), QStringLiteral("In-design"));
}

TEST_F(Sources, officeEntriesSkipTemplatesAndDuplicates)
{
    for (const QString& id : officeApplications())
        home.installApplication(id, id.section(u'.', -1));
    const QString report = home.createDocument(QStringLiteral("Report.docx"), hoursAgo(1));
    const QString letter = home.createDocument(QStringLiteral("Letter.dotx"), hoursAgo(1));
    const QString macro = home.createDocument(QStringLiteral("Macro.dotm"), hoursAgo(1));
    const QString budget = home.createDocument(QStringLiteral("Budget.DOTX"), hoursAgo(3));
    writeOffice(QStringLiteral("com.microsoft.Word"),
                {bookmarkTo(report), bookmarkTo(report), bookmarkTo(letter), bookmarkTo(macro),
                 QByteArray("not a bookmark")},
                hoursAgo(1));
    writeOffice(QStringLiteral("com.microsoft.Excel"), {bookmarkTo(budget)}, hoursAgo(5));
    // PowerPoint's container is missing altogether.

    const QList<RecentApp> entries = readOfficeEntries();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries.at(0).name(), QStringLiteral("com.microsoft.Word"));
    EXPECT_EQ(namesOf(entries.at(0).recentFiles()), QStringList{QStringLiteral("Report.docx")});
    EXPECT_EQ(entries.at(0).dateModified(), hoursAgo(1));
    EXPECT_EQ(entries.at(0).filePath(),
              QUrl::fromLocalFile(officeFile(QStringLiteral("com.microsoft.Word"))));
    EXPECT_EQ(entries.at(1).name(), QStringLiteral("com.microsoft.Excel"));
    EXPECT_EQ(namesOf(entries.at(1).recentFiles()), QStringList{QStringLiteral("Budget.DOTX")});
    EXPECT_EQ(entries.at(1).dateModified(), hoursAgo(5));
}

TEST_F(Sources, officeTemplatesOnlyOrUninstalledGiveNoEntry)
{
    const QString letter = home.createDocument(QStringLiteral("Letter.dotx"), hoursAgo(1));
    const QString sheet = home.createDocument(QStringLiteral("Sheet.xlsx"), hoursAgo(1));
    home.installApplication(QStringLiteral("com.microsoft.Word"), QStringLiteral("Word"));
    writeOffice(QStringLiteral("com.microsoft.Word"), {bookmarkTo(letter)}, hoursAgo(1));
    writeOffice(QStringLiteral("com.microsoft.Excel"), {bookmarkTo(sheet)}, hoursAgo(1));
    home.writeFile(officeFile(QStringLiteral("com.microsoft.Powerpoint")), "damaged bytes");
    home.installApplication(QStringLiteral("com.microsoft.Powerpoint"),
                            QStringLiteral("PowerPoint"));
    EXPECT_TRUE(readOfficeEntries().isEmpty());
}
} // namespace

namespace {
// One entry from every source: the entries a source reads are the ones it owns and clears, and
// its files are the ones it watches, so that the store and the monitor, asking the list of
// sources, reach the right one.
TEST_F(Sources, everySourceOwnsTheEntriesItReadsAndWatchesItsOwnFiles)
{
    home.installApplication(QStringLiteral("org.example.Recorded"), QStringLiteral("Recorded"));
    home.installApplication(QStringLiteral("com.adobe.photoshop"), QStringLiteral("Photoshop"));
    home.installApplication(QStringLiteral("com.microsoft.Word"), QStringLiteral("Word"));
    home.installApplication(QStringLiteral("org.gnome.eog"), QStringLiteral("Image Viewer"));
    const QString doc = home.createDocument(QStringLiteral("doc.txt"), hoursAgo(1));
    const QString record = home.writeRecord(QStringLiteral("org.example.Recorded"), {doc}, now);
    writeAdobe({{QStringLiteral("photoshop"), adobeApp({doc})}});
    writeOffice(QStringLiteral("com.microsoft.Word"), {bookmarkTo(doc)}, now);
    const QString xbel = home.writeFile(
        recentlyUsedFilePath(),
        QStringLiteral("<xbel version=\"1.0\" xmlns:bookmark=\"http://www.freedesktop.org/"
                       "standards/desktop-bookmarks\"><bookmark href=\"%1\"><info><metadata>"
                       "<bookmark:applications><bookmark:application name=\"Image Viewer\" "
                       "exec=\"&apos;eog %u&apos;\" modified=\"2026-12-09T13:00:00Z\"/>"
                       "</bookmark:applications></metadata></info></bookmark></xbel>")
            .arg(QString::fromUtf8(QUrl::fromLocalFile(doc).toEncoded()))
            .toUtf8());

    home.installApplication(QStringLiteral("org.gnome.gedit"), QStringLiteral("Sandboxed"));
    home.writeFile(
        home.path() + QStringLiteral("/.var/app/org.gnome.gedit/data/recently-used.xbel"),
        QStringLiteral("<xbel version=\"1.0\" xmlns:bookmark=\"http://www.freedesktop.org/"
                       "standards/desktop-bookmarks\"><bookmark href=\"%1\"><info><metadata>"
                       "<bookmark:applications><bookmark:application name=\"gedit\" "
                       "exec=\"&apos;gedit %u&apos;\" modified=\"2026-12-09T12:00:00Z\"/>"
                       "</bookmark:applications></metadata></info></bookmark></xbel>")
            .arg(QString::fromUtf8(QUrl::fromLocalFile(doc).toEncoded()))
            .toUtf8());
    home.installApplication(QStringLiteral("org.kde.kate"), QStringLiteral("Linked"));
    const QString link = home.writeFile(
        home.dataHome() + QStringLiteral("/RecentDocuments/doc.txt.desktop"),
        QStringLiteral("[Desktop Entry]\nType=Link\nURL=%1\nX-KDE-LastOpenedWith=org.kde.kate\n")
            .arg(doc)
            .toUtf8());
    home.installApplication(QStringLiteral("libreoffice-writer"), QStringLiteral("Writer"));
    home.writeFile(home.path() + QStringLiteral("/.config/libreoffice/4/user/"
                                                "registrymodifications.xcu"),
                   QStringLiteral("<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\">"
                                  "<item oor:path=\"/org.openoffice.Office.Histories/Histories/"
                                  "org.openoffice.Office.Histories:HistoryInfo['PickList']/"
                                  "ItemList\"><node oor:name=\"%1\"><prop oor:name=\"Filter\">"
                                  "<value>writer8</value></prop></node></item></oor:items>")
                       .arg(QString::fromUtf8(QUrl::fromLocalFile(doc).toEncoded()))
                       .toUtf8());

    const RecentSources sources;
    for (const auto& source : sources.all())
        source->prepare();
    QStringList read;
    for (const auto& source : sources.all()) {
        for (const RecentApp& app : source->read()) {
            read << app.appName();
            EXPECT_EQ(sources.ownerOf(app), source.get()) << app.appName().toStdString();
            // A folder of records is watched for the records in it.
            const QString recordFile = QFileInfo(app.filePath().toLocalFile()).isDir()
                                           ? link
                                           : app.filePath().toLocalFile();
            EXPECT_EQ(sources.watcherOf(recordFile),
                      source->watchedPaths().isEmpty() ? nullptr : source.get())
                << app.appName().toStdString();
        }
    }
    EXPECT_EQ(read, (QStringList{QStringLiteral("Recorded"), QStringLiteral("Photoshop"),
                                 QStringLiteral("Word"), QStringLiteral("Image Viewer"),
                                 QStringLiteral("Sandboxed"), QStringLiteral("Linked"),
                                 QStringLiteral("Writer")}));
    EXPECT_EQ(sources.watcherOf(record + QStringLiteral(".old")), nullptr);
    EXPECT_EQ(sources.watcherOf(xbel + QStringLiteral(".lock")), nullptr);
}
} // namespace
