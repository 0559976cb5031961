// Flatpak applications' own recently-used files, written by GLib as GTK writes them in a sandbox,
// listed with the shared file's entries for the same application as one entry.

#include "FlatpakSource.h"

#include "BuildRecentApps.h"
#include "Calendar.h"
#include "DocumentPortalStore.h"
#include "FlatpakSandboxes.h"
#include "GLibBookmarks.h"
#include "MetadataQuery.h"
#include "QtPrinters.h"
#include "RecentlyUsedSource.h"
#include "TestHome.h"
#include "UserDefaults.h"
#include "VorlaneController.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {
const QTimeZone zone(0);
const QDateTime now(QDate(2026, 12, 9), QTime(15, 0), zone);

QDateTime hoursAgo(int hours)
{
    return now.addSecs(-3600 * hours);
}

QString uri(const QString& path)
{
    return QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded());
}

QStringList names(const RecentApp& app)
{
    QStringList names;
    for (const RecentFile& file : app.recentFiles())
        names << file.name();
    return names;
}

class FlatpakSourceTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        Calendar::setCurrent(Calendar::fixed(now, zone, Qt::Monday));
        UserDefaults::global().reload();
        MetadataQuery::setCurrent(nullptr);
        // Flatpak exports the entry; it is not in the user's applications folder.
        home.writeFile(home.dataHome() + QStringLiteral("/flatpak/exports/share/applications/"
                                                        "org.gnome.TextEditor.desktop"),
                       "[Desktop Entry]\nType=Application\nName=Text Editor\n"
                       "Exec=/usr/bin/flatpak run --branch=stable org.gnome.TextEditor %U\n");
        home.installApplication(QStringLiteral("org.gnome.eog"), QStringLiteral("Image Viewer"));
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

    QString sandboxFile() const
    {
        return FlatpakSandboxes::historyPath(QStringLiteral("org.gnome.TextEditor"));
    }

    // In the sandbox: two host documents, one the portal handed over and one of the runtime's.
    void writeSandbox()
    {
        QDir().mkpath(QFileInfo(sandboxFile()).path());
        GLibBookmarks sandbox;
        const QString exec = QStringLiteral("gnome-text-editor %u");
        const QString name = QStringLiteral("Text Editor");
        sandbox.registerDocument(uri(document(QStringLiteral("notes.txt"))), name, exec,
                                 hoursAgo(1));
        sandbox.registerDocument(uri(document(QStringLiteral("todo.txt"))), name, exec,
                                 hoursAgo(5));
        sandbox.registerDocument(QStringLiteral("file:///run/user/1000/doc/4f2a9b1c/letter.txt"),
                                 name, exec, hoursAgo(2));
        sandbox.registerDocument(QStringLiteral("file:///app/share/doc/README.txt"), name, exec,
                                 hoursAgo(3));
        sandbox.registerDocument(QStringLiteral("file:///run/host/usr/share/doc/README.txt"), name,
                                 exec, hoursAgo(3));
        ASSERT_TRUE(sandbox.save(sandboxFile()));
    }

    // In the shared file: the same application run through flatpak, and the image viewer.
    void writeSharedFile()
    {
        GLibBookmarks shared;
        const QString plan = uri(document(QStringLiteral("plan.txt")));
        shared.registerDocument(plan, QStringLiteral("Text Editor"),
                                QStringLiteral("flatpak run org.gnome.TextEditor %u"), hoursAgo(3));
        shared.registerDocument(plan, QStringLiteral("Image Viewer"), QStringLiteral("eog %u"),
                                hoursAgo(4));
        shared.registerDocument(uri(document(QStringLiteral("notes.txt"))),
                                QStringLiteral("Text Editor"),
                                QStringLiteral("flatpak run org.gnome.TextEditor %u"), hoursAgo(8));
        ASSERT_TRUE(shared.save(recentlyUsedFilePath()));
    }

    // The document portal's database as the portal wrote it (tests/fixtures/portal).
    void installPortalDatabase(const char* name, qsizetype size = -1)
    {
        QFile fixture(QStringLiteral(VORLANE_PORTAL_FIXTURES "/") + QLatin1String(name));
        ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
        const QByteArray whole = fixture.readAll();
        home.writeFile(DocumentPortalStore::databasePath(), size < 0 ? whole : whole.left(size));
    }

    // The id the portal gave the document of that label.
    static QString portalId(const QString& label)
    {
        QFile ids(QStringLiteral(VORLANE_PORTAL_FIXTURES "/documents.ids"));
        EXPECT_TRUE(ids.open(QIODevice::ReadOnly | QIODevice::Text));
        while (!ids.atEnd()) {
            const QStringList line = QString::fromUtf8(ids.readLine()).trimmed().split(u' ');
            if (line.size() == 2 && line.first() == label)
                return line.last();
        }
        ADD_FAILURE() << "no document " << label.toStdString();
        return {};
    }

    // The document as a sandbox sees it: /run/user/<uid>/doc/<id>/<path>.
    static QString inPortal(const QString& label, const QString& path, uint uid = ::getuid())
    {
        return QStringLiteral("/run/user/%1/doc/%2/%3").arg(uid).arg(portalId(label), path);
    }

    static const RecentApp* entryNamed(const QList<RecentApp>& apps, const QString& appName)
    {
        for (const RecentApp& app : apps)
            if (app.appName() == appName)
                return &app;
        return nullptr;
    }

    TestHome home;
};

TEST_F(FlatpakSourceTest, listsTheSandboxesHostDocumentsAndSkipsWhatOnlyTheSandboxReaches)
{
    writeSandbox();
    const QList<RecentApp> apps = FlatpakSource().read();
    ASSERT_EQ(apps.size(), 1);
    EXPECT_EQ(apps.first().appName(), QStringLiteral("Text Editor"));
    EXPECT_EQ(names(apps.first()),
              (QStringList{QStringLiteral("notes.txt"), QStringLiteral("todo.txt")}));
    EXPECT_EQ(apps.first().recentFiles().first().dateAccessed(), hoursAgo(1));
    EXPECT_TRUE(FlatpakSource().owns(apps.first()));
    EXPECT_FALSE(RecentlyUsedSource().owns(apps.first()));
}

TEST_F(FlatpakSourceTest, anApplicationInItsSandboxAndInTheSharedFileIsOneEntry)
{
    writeSandbox();
    writeSharedFile();
    const std::optional<QList<RecentApp>> apps = buildRecentApps();
    ASSERT_TRUE(apps);
    ASSERT_EQ(apps->size(), 2);
    const RecentApp* editor = entryNamed(*apps, QStringLiteral("Text Editor"));
    ASSERT_NE(editor, nullptr);
    // notes.txt is in both, at its newer date.
    EXPECT_EQ(names(*editor), (QStringList{QStringLiteral("notes.txt"), QStringLiteral("plan.txt"),
                                           QStringLiteral("todo.txt")}));
    EXPECT_EQ(editor->recentFiles().first().dateAccessed(), hoursAgo(1));
    EXPECT_EQ(editor->mergedFilePaths().size(), 1);
}

TEST_F(FlatpakSourceTest, clearingTheEntryEmptiesBothFilesOfItAndKeepsTheOtherApplication)
{
    writeSandbox();
    writeSharedFile();
    const std::optional<QList<RecentApp>> apps = buildRecentApps();
    ASSERT_TRUE(apps);
    const RecentApp* editor = entryNamed(*apps, QStringLiteral("Text Editor"));
    ASSERT_NE(editor, nullptr);

    VorlaneController store;
    EXPECT_TRUE(store.clearFiles(*editor));
    const std::optional<QList<GLibBookmarks::Item>> sandbox = GLibBookmarks::load(sandboxFile());
    ASSERT_TRUE(sandbox);
    EXPECT_TRUE(sandbox->isEmpty());
    const std::optional<QList<GLibBookmarks::Item>> shared =
        GLibBookmarks::load(recentlyUsedFilePath());
    ASSERT_TRUE(shared);
    ASSERT_EQ(shared->size(), 1);
    ASSERT_EQ(shared->first().registrations.size(), 1);
    EXPECT_EQ(shared->first().registrations.first().name, QStringLiteral("Image Viewer"));
}

// Removing one document takes out only that document's registration by the entry's application;
// the file's other text stays as its writer wrote it.
TEST_F(FlatpakSourceTest, removingADocumentLeavesEveryOtherRegistrationByteForByte)
{
    writeSandbox();
    writeSharedFile();
    struct Case
    {
        const char* what;
        QString file;
        QString appName;
        QString document;
    };
    const QList<Case> cases{
        {"sandbox", sandboxFile(), QStringLiteral("Text Editor"), QStringLiteral("todo.txt")},
        {"shared, another application registered it too", recentlyUsedFilePath(),
         QStringLiteral("Image Viewer"), QStringLiteral("plan.txt")},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        QList<RecentApp> apps = FlatpakSource().read();
        RecentlyUsedSource shared;
        shared.prepare();
        apps.append(shared.read());
        const RecentApp* app = nullptr;
        for (const RecentApp& candidate : apps)
            if (candidate.appName() == test.appName &&
                candidate.filePath().toLocalFile() == test.file)
                app = &candidate;
        ASSERT_NE(app, nullptr);
        const auto file = std::find_if(
            app->recentFiles().cbegin(), app->recentFiles().cend(),
            [&](const RecentFile& candidate) { return candidate.name() == test.document; });
        ASSERT_NE(file, app->recentFiles().cend());

        QFile before(test.file);
        ASSERT_TRUE(before.open(QIODevice::ReadOnly));
        const QByteArray original = before.readAll();
        const std::optional<QList<GLibBookmarks::Item>> items = GLibBookmarks::load(test.file);
        ASSERT_TRUE(items);

        VorlaneController store;
        ASSERT_EQ(store.notRemovableBecause(*app), QString());
        QString error;
        ASSERT_TRUE(store.removeDocument(*app, *file, &error)) << error.toStdString();

        QFile after(test.file);
        ASSERT_TRUE(after.open(QIODevice::ReadOnly));
        const QByteArray changed = after.readAll();
        // Only a cut: what is left is the original with one piece taken out.
        qsizetype prefix = 0;
        while (prefix < changed.size() && changed.at(prefix) == original.at(prefix))
            ++prefix;
        const qsizetype cut = original.size() - changed.size();
        ASSERT_GT(cut, 0);
        EXPECT_EQ(original.mid(prefix + cut), changed.mid(prefix));

        QList<GLibBookmarks::Item> expected = *items;
        const QString documentUri = uri(file->filePath().toLocalFile());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            if (expected[i].uri != documentUri)
                continue;
            expected[i].registrations.removeIf(
                [&](const GLibBookmarks::Registration& r) { return r.name == test.appName; });
            if (expected[i].registrations.isEmpty())
                expected.removeAt(i);
            break;
        }
        EXPECT_EQ(GLibBookmarks::load(test.file), std::optional(expected));
    }
}

TEST_F(FlatpakSourceTest, damagedSandboxFilesKeepWhatIsReadableAndNeverCrash)
{
    writeSandbox();
    QFile file(sandboxFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    file.close();
    const qsizetype cut = whole.indexOf("todo.txt");
    ASSERT_GT(cut, 0);
    for (const QByteArray& damaged :
         {whole.left(cut), QByteArray(), QByteArray("\0\xff<xbel", 8), whole.left(40)}) {
        home.writeFile(sandboxFile(), damaged);
        const QList<RecentApp> apps = FlatpakSource().read();
        if (damaged == whole.left(cut)) {
            ASSERT_EQ(apps.size(), 1);
            EXPECT_EQ(names(apps.first()), QStringList{QStringLiteral("notes.txt")});
        } else {
            EXPECT_TRUE(apps.isEmpty());
        }
    }
}
} // namespace

namespace {
// Where the fixtures' home documents were when the portal wrote the database.
const QString fixtureDocuments = QStringLiteral("/tmp/portal-fixtures.NBrqbB/home/Documents");

TEST_F(FlatpakSourceTest, portalPathsAreTheHostPathsThePortalsDatabaseNames)
{
    const std::optional<QByteArray> savedRuntimeDir =
        qEnvironmentVariableIsSet("XDG_RUNTIME_DIR") ? std::optional(qgetenv("XDG_RUNTIME_DIR"))
                                                     : std::nullopt;
    const QString runtimeDir = home.path() + QStringLiteral("/run");
    qputenv("XDG_RUNTIME_DIR", runtimeDir.toUtf8());
    struct Case
    {
        const char* database;
        qsizetype size;
        QString sandboxPath;
        QString hostPath;
    };
    const QString plan = QStringLiteral("Plan für 2027.txt");
    const QString report = fixtureDocuments + QStringLiteral("/report.odt");
    const QList<Case> cases{
        {"documents", -1, inPortal(QStringLiteral("report"), QStringLiteral("report.odt")), report},
        {"documents", -1, inPortal(QStringLiteral("plan"), plan), fixtureDocuments + u'/' + plan},
        {"documents", -1,
         inPortal(QStringLiteral("photos"), QStringLiteral("Photos/2026/beach.jpg")),
         fixtureDocuments + QStringLiteral("/Photos/2026/beach.jpg")},
        {"documents", -1, inPortal(QStringLiteral("photos"), QStringLiteral("Photos")),
         fixtureDocuments + QStringLiteral("/Photos")},
        {"documents", -1,
         runtimeDir + QStringLiteral("/doc/%1/report.odt").arg(portalId(QStringLiteral("report"))),
         report},
        // Not this document: another name, a path below a file, out of a folder.
        {"documents", -1, inPortal(QStringLiteral("report"), QStringLiteral("plan.odt")), {}},
        {"documents", -1, inPortal(QStringLiteral("report"), QStringLiteral("report.odt/x")), {}},
        {"documents",
         -1,
         inPortal(QStringLiteral("photos"), QStringLiteral("Photos/../report.odt")),
         {}},
        {"documents", -1, inPortal(QStringLiteral("photos"), QStringLiteral("Photos/./2026")), {}},
        {"documents", -1, inPortal(QStringLiteral("report"), QString()), {}},
        // Unknown: kept only while the portal ran, never handed over, another user's.
        {"documents", -1, inPortal(QStringLiteral("transient"), QStringLiteral("scan.pdf")), {}},
        {"documents", -1, QStringLiteral("/run/user/%1/doc/0badf00d/x.txt").arg(::getuid()), {}},
        {"documents",
         -1,
         inPortal(QStringLiteral("report"), QStringLiteral("report.odt"), ::getuid() + 1),
         {}},
        {"documents-one-file", -1, inPortal(QStringLiteral("report"), QStringLiteral("report.odt")),
         report},
        {"documents-one-file", -1, inPortal(QStringLiteral("plan"), plan), {}},
        // Damaged: what the cut leaves readable, or nothing.
        {"documents", 100, inPortal(QStringLiteral("report"), QStringLiteral("report.odt")), {}},
        {"documents", 0, inPortal(QStringLiteral("report"), QStringLiteral("report.odt")), {}},
        // Paths outside the portal as before.
        {"documents", -1, fixtureDocuments + QStringLiteral("/notes.txt"),
         fixtureDocuments + QStringLiteral("/notes.txt")},
        {"documents", -1, QStringLiteral("/app/share/doc/README.txt"), {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.sandboxPath.toStdString());
        installPortalDatabase(test.database, test.size);
        DocumentPortalStore portal;
        portal.refresh();
        EXPECT_EQ(FlatpakSandboxes::hostPathOf(test.sandboxPath, portal), test.hostPath);
    }
    if (savedRuntimeDir)
        qputenv("XDG_RUNTIME_DIR", *savedRuntimeDir);
    else
        qunsetenv("XDG_RUNTIME_DIR");
}

// The portal's paths in a sandbox's history: the documents the database names are listed by
// their host paths and can be taken out of the history one by one; the others are left out.
TEST_F(FlatpakSourceTest, aSandboxsPortalDocumentsAreListedByTheirHostPaths)
{
    installPortalDatabase("documents");
    QDir().mkpath(QFileInfo(sandboxFile()).path());
    GLibBookmarks sandbox;
    const QString name = QStringLiteral("Text Editor");
    const QString exec = QStringLiteral("gnome-text-editor %u");
    const auto addPortalDocument = [&](const QString& label, const QString& path, int hours) {
        sandbox.registerDocument(uri(inPortal(label, path)), name, exec, hoursAgo(hours));
    };
    addPortalDocument(QStringLiteral("license"), QStringLiteral("GPL-3"), 1);
    addPortalDocument(QStringLiteral("licenses"), QStringLiteral("common-licenses/Apache-2.0"), 2);
    // Named by the database, gone from the host; unknown to the database.
    addPortalDocument(QStringLiteral("report"), QStringLiteral("report.odt"), 3);
    addPortalDocument(QStringLiteral("transient"), QStringLiteral("scan.pdf"), 4);
    sandbox.registerDocument(uri(document(QStringLiteral("notes.txt"))), name, exec, hoursAgo(5));
    ASSERT_TRUE(sandbox.save(sandboxFile()));

    const std::optional<QList<RecentApp>> apps = buildRecentApps();
    ASSERT_TRUE(apps);
    ASSERT_EQ(apps->size(), 1);
    QStringList paths;
    for (const RecentFile& file : apps->first().recentFiles())
        paths << file.filePath().toLocalFile();
    EXPECT_EQ(paths, (QStringList{QStringLiteral("/usr/share/common-licenses/GPL-3"),
                                  QStringLiteral("/usr/share/common-licenses/Apache-2.0"),
                                  home.path() + QStringLiteral("/Documents/notes.txt")}));

    VorlaneController store;
    QString error;
    ASSERT_TRUE(store.removeDocument(apps->first(), apps->first().recentFiles().first(), &error))
        << error.toStdString();
    const std::optional<QList<GLibBookmarks::Item>> left = GLibBookmarks::load(sandboxFile());
    ASSERT_TRUE(left);
    EXPECT_EQ(left->size(), 4);
    for (const GLibBookmarks::Item& item : *left)
        EXPECT_NE(item.uri, uri(inPortal(QStringLiteral("license"), QStringLiteral("GPL-3"))));
}
} // namespace
