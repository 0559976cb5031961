// Plasma's activity manager's database, made by sqlite3 with the daemon's tables, and KDE's
// RecentDocuments link files.

#include "ActivityDatabaseReader.h"
#include "ActivityManagerSource.h"
#include "Calendar.h"
#include "KdeRecentDocuments.h"
#include "KdeRecentDocumentsSource.h"
#include "MetadataQuery.h"
#include "TestHome.h"
#include "UserDefaults.h"
#include "VorlaneController.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {
const QTimeZone zone(0);
const QDateTime now(QDate(2026, 12, 9), QTime(15, 0), zone);

QDateTime hoursAgo(int hours)
{
    return now.addSecs(-3600 * hours);
}

QStringList names(const RecentApp& app)
{
    QStringList names;
    for (const RecentFile& file : app.recentFiles())
        names << file.name();
    return names;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The tables kactivitymanagerd keeps, as sqlite3 makes them.
const char* const schema =
    "PRAGMA journal_mode=WAL;"
    "CREATE TABLE ResourceEvent (usedActivity TEXT, initiatingAgent TEXT, targettedResource TEXT,"
    " start INTEGER, end INTEGER);"
    "CREATE TABLE ResourceScoreCache (usedActivity TEXT, initiatingAgent TEXT,"
    " targettedResource TEXT, scoreType INTEGER, cachedScore FLOAT, firstUpdate INTEGER,"
    " lastUpdate INTEGER, PRIMARY KEY(usedActivity, initiatingAgent, targettedResource));"
    "CREATE TABLE ResourceInfo (targettedResource TEXT, title TEXT, mimetype TEXT,"
    " autoTitle INTEGER, autoMimetype INTEGER, PRIMARY KEY(targettedResource));"
    "CREATE TABLE ResourceLink (usedActivity TEXT, initiatingAgent TEXT, targettedResource TEXT,"
    " PRIMARY KEY(usedActivity, initiatingAgent, targettedResource));";

class PlasmaSourcesTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        Calendar::setCurrent(Calendar::fixed(now, zone, Qt::Monday));
        UserDefaults::global().reload();
        MetadataQuery::setCurrent(nullptr);
        home.installApplication(QStringLiteral("org.kde.okular"), QStringLiteral("Okular"));
        home.installApplication(QStringLiteral("org.kde.kate"), QStringLiteral("Kate"));
        QDir().mkpath(QFileInfo(ActivityDatabaseReader::databasePath()).path());
    }

    void TearDown() override
    {
        MetadataQuery::setCurrent(nullptr);
        Calendar::setCurrent(Calendar::system());
    }

    QString document(const QString& name)
    {
        return home.createDocument(QStringLiteral("Documents/") + name, hoursAgo(24 * 30));
    }

    static void sqlite(const QString& statements)
    {
        QProcess process;
        process.start(QStringLiteral(VORLANE_SQLITE3),
                      {ActivityDatabaseReader::databasePath(), statements});
        ASSERT_TRUE(process.waitForFinished(60'000));
        ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    }

    static QString use(const QString& agent, const QString& resource, const QDateTime& at)
    {
        return QStringLiteral("INSERT INTO ResourceScoreCache VALUES (':global', '%1', '%2', 0, "
                              "1.0, %3, %3);")
            .arg(agent, resource, QString::number(at.toSecsSinceEpoch()));
    }

    void writeDatabase()
    {
        const QString report = document(QStringLiteral("report.pdf"));
        const QString slides = document(QStringLiteral("slides final.pdf"));
        const QString notes = document(QStringLiteral("notes.md"));
        sqlite(QString::fromLatin1(schema) +
               use(QStringLiteral("org.kde.okular"), report, hoursAgo(5)) +
               use(QStringLiteral("org.kde.okular"),
                   QString::fromUtf8(QUrl::fromLocalFile(slides).toEncoded()), hoursAgo(1)) +
               // Folders, remote resources, missing documents and unknown agents are not listed.
               use(QStringLiteral("org.kde.okular"), home.path() + QStringLiteral("/Documents"),
                   hoursAgo(1)) +
               use(QStringLiteral("org.kde.okular"), QStringLiteral("smb://server/share/a.pdf"),
                   hoursAgo(1)) +
               use(QStringLiteral("org.kde.okular"), home.path() + QStringLiteral("/gone.pdf"),
                   hoursAgo(1)) +
               use(QStringLiteral("org.kde.dolphin"), report, hoursAgo(1)) +
               use(QStringLiteral("org.kde.kate"), notes, hoursAgo(2)));
    }

    TestHome home;
};

TEST_F(PlasmaSourcesTest, listsEachApplicationsDocumentsNewestFirst)
{
    writeDatabase();
    const QList<RecentApp> apps = ActivityManagerSource().read();
    ASSERT_EQ(apps.size(), 2);
    EXPECT_EQ(apps.at(0).appName(), QStringLiteral("Okular"));
    EXPECT_EQ(names(apps.at(0)),
              (QStringList{QStringLiteral("slides final.pdf"), QStringLiteral("report.pdf")}));
    EXPECT_EQ(apps.at(0).recentFiles().first().dateAccessed(), hoursAgo(1));
    EXPECT_EQ(apps.at(1).appName(), QStringLiteral("Kate"));
}

// The daemon may be in the middle of writing: reading neither waits for it nor holds it up, and
// never writes.
TEST_F(PlasmaSourcesTest, readsWhileTheDaemonWritesAndNeverLocksIt)
{
    writeDatabase();
    QProcess daemon;
    daemon.start(QStringLiteral(VORLANE_SQLITE3), {ActivityDatabaseReader::databasePath()});
    ASSERT_TRUE(daemon.waitForStarted());
    daemon.write(QStringLiteral("BEGIN IMMEDIATE;%1SELECT 'written';\n")
                     .arg(use(QStringLiteral("org.kde.kate"), document(QStringLiteral("later.md")),
                              hoursAgo(0)))
                     .toUtf8());
    ASSERT_TRUE(daemon.waitForReadyRead(60'000));
    const QByteArray database = contents(ActivityDatabaseReader::databasePath());

    const QList<RecentApp> apps = ActivityManagerSource().read();
    ASSERT_EQ(apps.size(), 2);
    EXPECT_EQ(names(apps.at(1)), QStringList{QStringLiteral("notes.md")});
    EXPECT_EQ(contents(ActivityDatabaseReader::databasePath()), database);

    daemon.write("COMMIT;\nSELECT 'committed';\n.quit\n");
    daemon.closeWriteChannel();
    ASSERT_TRUE(daemon.waitForFinished(60'000));
    EXPECT_EQ(daemon.exitCode(), 0) << daemon.readAllStandardError().toStdString();
    EXPECT_TRUE(daemon.readAllStandardOutput().contains("committed"));
}

TEST_F(PlasmaSourcesTest, clearingSaysTheActivityManagerKeepsItAndWritesNothing)
{
    writeDatabase();
    const QList<RecentApp> apps = ActivityManagerSource().read();
    ASSERT_FALSE(apps.isEmpty());
    const QByteArray database = contents(ActivityDatabaseReader::databasePath());
    VorlaneController store;
    EXPECT_FALSE(store.notClearedBecause(apps.first()).isEmpty());
    EXPECT_FALSE(store.notRemovableBecause(apps.first()).isEmpty());
    EXPECT_FALSE(store.clearFiles(apps.first()));
    EXPECT_EQ(contents(ActivityDatabaseReader::databasePath()), database);
}

TEST_F(PlasmaSourcesTest, damagedDatabasesGiveNothingAndNeverCrash)
{
    writeDatabase();
    const QByteArray whole = contents(ActivityDatabaseReader::databasePath());
    for (const QByteArray& damaged : {QByteArray(), QByteArray("SQLite format 3\0garbage", 24),
                                      whole.left(whole.size() / 2), QByteArray(4096, '\xff')}) {
        home.writeFile(ActivityDatabaseReader::databasePath(), damaged);
        QFile::remove(ActivityDatabaseReader::databasePath() + QStringLiteral("-wal"));
        QFile::remove(ActivityDatabaseReader::databasePath() + QStringLiteral("-shm"));
        EXPECT_NO_THROW(ActivityManagerSource().read());
    }
}

TEST_F(PlasmaSourcesTest, recentDocumentsLinksAreListedByTheirApplicationAndClearedOneByOne)
{
    const QString folder = KdeRecentDocuments::folderPath();
    // urlLine as KDE writes it (a KConfig path entry) or as another writer might.
    const auto link = [&](const QString& name, const QString& urlLine, const QString& agent,
                          int age) {
        const QString path = home.writeFile(
            folder + u'/' + name + QStringLiteral(".desktop"),
            QStringLiteral("[Desktop Entry]\nIcon=text-plain\nName=%1\nType=Link\n%2\n"
                           "X-KDE-LastOpenedWith=%3\n")
                .arg(name, urlLine, agent)
                .toUtf8());
        TestHome::setModificationTime(path, hoursAgo(age));
        return path;
    };
    const QString notes = document(QStringLiteral("notes.md"));
    document(QStringLiteral("price$list.md"));
    link(QStringLiteral("notes.md"), QStringLiteral("URL[$e]=$HOME/Documents/notes.md"),
         QStringLiteral("org.kde.kate"), 3);
    const QString priceLink = link(QStringLiteral("price$list.md"),
                                   QStringLiteral("URL[$e]=$HOME/Documents/price$$list.md"),
                                   QStringLiteral("org.kde.kate"), 1);
    const QString okularLink =
        link(QStringLiteral("notes.md.1"),
             QStringLiteral("URL=") + QString::fromUtf8(QUrl::fromLocalFile(notes).toEncoded()),
             QStringLiteral("org.kde.okular"), 2);
    // Variables other than the home folder are not followed.
    link(QStringLiteral("elsewhere.md"), QStringLiteral("URL[$e]=$XDG_RUNTIME_DIR/notes.md"),
         QStringLiteral("org.kde.kate"), 1);
    home.writeFile(folder + QStringLiteral("/damaged.desktop"), QByteArray("\0\xff[Desk", 7));

    QList<RecentApp> apps = KdeRecentDocumentsSource().read();
    ASSERT_EQ(apps.size(), 2);
    const RecentApp& kate = apps.at(0).appName() == u"Kate" ? apps.at(0) : apps.at(1);
    EXPECT_EQ(names(kate),
              (QStringList{QStringLiteral("price$list.md"), QStringLiteral("notes.md")}));

    VorlaneController store;
    QString error;
    ASSERT_TRUE(store.removeDocument(kate, kate.recentFiles().first(), &error))
        << error.toStdString();
    EXPECT_FALSE(QFile::exists(priceLink));
    ASSERT_TRUE(store.clearFiles(kate));
    apps = KdeRecentDocumentsSource().read();
    ASSERT_EQ(apps.size(), 1);
    EXPECT_EQ(apps.first().appName(), QStringLiteral("Okular"));
    EXPECT_TRUE(QFile::exists(okularLink));
}
} // namespace
