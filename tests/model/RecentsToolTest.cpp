// Runs vorlane-recents the way a user or a script does, against a temporary home.

#include "QtPrinters.h"
#include "TestHome.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>

namespace {
struct ToolRun
{
    QByteArray out;
    QByteArray err;
    int exitCode = -1;
};

ToolRun runTool(const QStringList& arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(VORLANE_RECENTS_TOOL), arguments);
    tool.waitForFinished(60000);
    return {tool.readAllStandardOutput(), tool.readAllStandardError(), tool.exitCode()};
}

QDateTime hoursAgo(int hours)
{
    return QDateTime::currentDateTime().addSecs(-3600 * hours);
}

class RecentsTool : public testing::Test
{
protected:
    void SetUp() override
    {
        home.installApplication(QStringLiteral("org.gnome.Evince"),
                                QStringLiteral("Document Viewer"));
        home.installApplication(QStringLiteral("org.gnome.gedit"), QStringLiteral("Text Editor"));
        home.installApplication(QStringLiteral("org.example.Broken"), QStringLiteral("Broken"));
        home.installApplication(QStringLiteral("org.example.Empty"), QStringLiteral("Empty"));
        const QString pdf = home.createDocument(QStringLiteral("Papers/thesis.pdf"), hoursAgo(0));
        const QString old =
            home.createDocument(QStringLiteral("Papers/old draft.pdf"), hoursAgo(24 * 40));
        const QString txt = home.createDocument(QStringLiteral("notes.txt"), hoursAgo(2));
        home.writeRecord(QStringLiteral("org.gnome.Evince"), {old, pdf}, hoursAgo(1));
        home.writeRecord(QStringLiteral("org.gnome.gedit"), {txt}, hoursAgo(2));
        home.writeRecord(QStringLiteral("org.example.Uninstalled"), {txt}, hoursAgo(0));
        home.writeRecord(QStringLiteral("org.example.Empty"), {}, hoursAgo(0));
        home.writeFile(home.recordFolder() + QStringLiteral("/org.example.Broken.sfl3"),
                       "garbage bytes");
    }

    TestHome home;
};

// --search prints only what the window's search finds, best first, as text and as JSON; words may
// follow as separate arguments; nothing found is said, not an error.
TEST_F(RecentsTool, searchPrintsOnlyTheMatchesBestFirst)
{
    const ToolRun text = runTool({QStringLiteral("--search"), QStringLiteral("THÈSIS")});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    const QList<QByteArray> lines = text.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 1) << text.out.toStdString();
    EXPECT_TRUE(lines.constFirst().startsWith("thesis.pdf  " + QFile::encodeName(home.path()) +
                                              "/Papers/thesis.pdf  Document Viewer  "))
        << text.out.toStdString();

    const ToolRun json = runTool({QStringLiteral("--json"), QStringLiteral("--search"),
                                  QStringLiteral("pap/"), QStringLiteral("dr")});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonObject found = QJsonDocument::fromJson(json.out).object();
    EXPECT_EQ(found.value(QStringLiteral("search")).toString(), QStringLiteral("pap/ dr"));
    const QJsonArray matches = found.value(QStringLiteral("matches")).toArray();
    ASSERT_EQ(matches.size(), 1) << json.out.toStdString();
    EXPECT_EQ(matches.at(0).toObject().value(QStringLiteral("name")).toString(),
              QStringLiteral("old draft.pdf"));
    EXPECT_EQ(matches.at(0).toObject().value(QStringLiteral("appName")).toString(),
              QStringLiteral("Document Viewer"));

    const ToolRun none = runTool({QStringLiteral("--search"), QStringLiteral("zzz")});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_EQ(none.out, "No recent document matches \"zzz\".\n");
    EXPECT_EQ(runTool({QStringLiteral("--search"), QStringLiteral(" ")}).exitCode, 2);
}

TEST_F(RecentsTool, jsonListsInstalledApplicationsNewestFirst)
{
    const ToolRun run = runTool({QStringLiteral("--json")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QJsonParseError parseError;
    const QJsonObject json = QJsonDocument::fromJson(run.out, &parseError).object();
    ASSERT_EQ(parseError.error, QJsonParseError::NoError) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains(QFile::encodeName(
        home.recordFolder() + QStringLiteral("/org.example.Broken.sfl3: Error:"))))
        << "diagnostics belong on standard error, naming their file: " << run.err.toStdString();

    EXPECT_FALSE(json.value(QStringLiteral("isEmpty")).toBool());
    const QJsonArray apps = json.value(QStringLiteral("recentApps")).toArray();
    ASSERT_EQ(apps.size(), 2);
    const QJsonObject viewer = apps.at(0).toObject();
    EXPECT_EQ(viewer.value(QStringLiteral("appName")).toString(),
              QStringLiteral("Document Viewer"));
    EXPECT_EQ(apps.at(1).toObject().value(QStringLiteral("appName")).toString(),
              QStringLiteral("Text Editor"));
    EXPECT_EQ(viewer.value(QStringLiteral("sourceApp")).toString(),
              home.dataHome() + QStringLiteral("/applications/org.gnome.Evince.desktop"));
    EXPECT_EQ(viewer.value(QStringLiteral("filePath")).toString(),
              home.recordFolder() + QStringLiteral("/org.gnome.Evince.sfl3"));
    EXPECT_TRUE(
        viewer.value(QStringLiteral("name")).toString().startsWith(QStringLiteral("file:///")));

    const QDateTime modified = QDateTime::fromString(
        viewer.value(QStringLiteral("dateModified")).toString(), Qt::ISODateWithMs);
    EXPECT_TRUE(modified.isValid());
    EXPECT_NE(modified.timeSpec(), Qt::LocalTime) << "dates carry their UTC offset";

    const QJsonArray files = viewer.value(QStringLiteral("recentFiles")).toArray();
    ASSERT_EQ(files.size(), 2);
    const QJsonObject newest = files.at(0).toObject();
    EXPECT_EQ(newest.value(QStringLiteral("name")).toString(), QStringLiteral("thesis.pdf"));
    EXPECT_EQ(newest.value(QStringLiteral("filePath")).toString(),
              home.path() + QStringLiteral("/Papers/thesis.pdf"));
    EXPECT_EQ(newest.value(QStringLiteral("dateGroup")).toString(), QStringLiteral("Today"));
    EXPECT_EQ(newest.value(QStringLiteral("relativeDate")).toString(), QStringLiteral("Today"));
    const QJsonObject older = files.at(1).toObject();
    EXPECT_EQ(older.value(QStringLiteral("dateGroup")).toString(),
              QStringLiteral("Last week and beyond"));
    EXPECT_EQ(older.value(QStringLiteral("relativeDate")).toString(), QStringLiteral("Last month"));

    const QJsonArray headings = viewer.value(QStringLiteral("groupCells")).toArray();
    ASSERT_EQ(headings.size(), 2);
    EXPECT_EQ(headings.at(0).toObject().value(QStringLiteral("index")).toInt(), 0);
    EXPECT_EQ(headings.at(1).toObject().value(QStringLiteral("index")).toInt(), 2);
    EXPECT_EQ(headings.at(1).toObject().value(QStringLiteral("string")).toString(),
              QStringLiteral("Last week and beyond"));
}

TEST_F(RecentsTool, textShowsHeadingsAndDocumentsInRowOrder)
{
    const ToolRun run = runTool({});
    ASSERT_EQ(run.exitCode, 0);
    const QString text = QString::fromUtf8(run.out);
    EXPECT_FALSE(text.contains(QStringLiteral("Error:"))) << "diagnostics are not the report";
    EXPECT_TRUE(run.err.startsWith(QFile::encodeName(
        home.recordFolder() + QStringLiteral("/org.example.Broken.sfl3: Error:"))))
        << run.err.toStdString();
    const qsizetype viewer = text.indexOf(QStringLiteral("Document Viewer"));
    const qsizetype today = text.indexOf(QStringLiteral("  Today\n"), viewer);
    const qsizetype thesis = text.indexOf(QStringLiteral("thesis.pdf"), viewer);
    const qsizetype beyond = text.indexOf(QStringLiteral("Last week and beyond"), viewer);
    const qsizetype draft = text.indexOf(QStringLiteral("old draft.pdf"), viewer);
    const qsizetype editor = text.indexOf(QStringLiteral("Text Editor"));
    EXPECT_TRUE(viewer >= 0 && viewer < today && today < thesis && thesis < beyond &&
                beyond < draft && draft < editor)
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Uninstalled")));
    EXPECT_FALSE(text.contains(QStringLiteral("Empty  (")));
}

TEST(RecentsToolEmpty, saysSoOnceWhenNothingIsFound)
{
    TestHome home;
    const ToolRun run = runTool({QStringLiteral("--json")});
    const QJsonObject json = QJsonDocument::fromJson(run.out).object();
    EXPECT_TRUE(json.value(QStringLiteral("isEmpty")).toBool());
    EXPECT_TRUE(json.value(QStringLiteral("recentApps")).toArray().isEmpty());
    EXPECT_EQ(run.err, QByteArray("No recent apps found\n"));
    const ToolRun text = runTool({});
    EXPECT_EQ(text.out, QByteArray("No applications with recent documents.\n"));
    EXPECT_EQ(text.err, QByteArray());
}

TEST(RecentsToolCommandLine, mistakesPointToTheHelpAndListNothing)
{
    TestHome home;
    const QList<std::pair<QStringList, QByteArray>> mistakes{
        {{QStringLiteral("--bogus")}, "vorlane-recents: Unknown option 'bogus'."},
        {{QStringLiteral("--json"), QStringLiteral("extra")},
         "vorlane-recents: unexpected argument 'extra'"},
        {{QStringLiteral("--suffix")}, "vorlane-recents: Missing value after '--suffix'."},
    };
    for (const auto& [arguments, complaint] : mistakes) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.exitCode, 2) << complaint.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_TRUE(run.err.startsWith(complaint)) << run.err.toStdString();
        EXPECT_TRUE(run.err.endsWith("Try 'vorlane-recents --help' for the options.\n"));
    }
}

TEST(RecentsToolCommandLine, theHelpNamesEverySource)
{
    const ToolRun run = runTool({QStringLiteral("--help")});
    EXPECT_EQ(run.exitCode, 0);
    for (const char* source :
         {"recently-used.xbel", "ApplicationRecentDocuments", "com.adobe.mediabrowser.plist",
          "securebookmarks.plist", ".var/app/<app id>/data/recently-used.xbel",
          "flatpak/db/documents", "RecentDocuments", "kactivitymanagerd/resources/database",
          "registrymodifications.xcu"})
        EXPECT_TRUE(run.out.contains(source)) << source;
}
} // namespace

namespace {
// Reads the tool's output until it holds text or the generous deadline passes.
bool waitForOutput(QProcess& tool, QByteArray& seen, const QByteArray& text)
{
    QDeadlineTimer deadline(20000);
    while (!seen.contains(text) && !deadline.hasExpired()) {
        tool.waitForReadyRead(100);
        seen += tool.readAllStandardOutput();
    }
    return seen.contains(text);
}

TEST(RecentsToolWatch, printsALinePerChangeEvenInAFolderMadeAfterStart)
{
    TestHome home;
    QProcess tool;
    tool.start(QStringLiteral(VORLANE_RECENTS_TOOL), {QStringLiteral("--watch")});
    QByteArray seen;
    ASSERT_TRUE(waitForOutput(tool, seen, "watching"));

    const QString record = home.recordFolder() + QStringLiteral("/org.example.Late.sfl3");
    home.writeFile(record, "first"); // creates the whole folder chain
    EXPECT_TRUE(waitForOutput(tool, seen, "changed: " + QFile::encodeName(record)));

    seen.clear();
    const QString renamed = home.recordFolder() + QStringLiteral("/org.example.Renamed.sfl3");
    QFile::rename(record, renamed);
    EXPECT_TRUE(waitForOutput(tool, seen, "changed: " + QFile::encodeName(renamed)));

    seen.clear();
    QFile::remove(renamed);
    EXPECT_TRUE(waitForOutput(tool, seen, "changed: " + QFile::encodeName(renamed)));

    seen.clear();
    home.writeFile(home.recordFolder() + QStringLiteral("/notes.txt"), "ignored");
    home.writeFile(home.dataHome() + QStringLiteral("/recently-used.xbel"), "<xbel/>");
    EXPECT_TRUE(waitForOutput(tool, seen, "recently-used.xbel"));
    EXPECT_FALSE(seen.contains("notes.txt"));

    tool.kill();
    tool.waitForFinished();
}

// Scripts read --json --watch as JSON Lines: one object per line, the first once it watches.
TEST(RecentsToolWatch, printsJsonLinesWithJson)
{
    TestHome home;
    QProcess tool;
    tool.start(QStringLiteral(VORLANE_RECENTS_TOOL),
               {QStringLiteral("--watch"), QStringLiteral("--json")});
    QByteArray seen;
    ASSERT_TRUE(waitForOutput(tool, seen, "\n"));
    const QString record = home.recordFolder() + QStringLiteral("/org.example.Late.sfl3");
    home.writeFile(record, "first");
    EXPECT_TRUE(waitForOutput(tool, seen, "Late.sfl3"));
    tool.kill();
    tool.waitForFinished();
    seen += tool.readAllStandardOutput();
    const QList<QByteArray> lines = seen.trimmed().split('\n');
    ASSERT_GE(lines.size(), 2);
    QList<QJsonObject> objects;
    for (const QByteArray& line : lines) {
        QJsonParseError error;
        objects << QJsonDocument::fromJson(line, &error).object();
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
    }
    EXPECT_EQ(objects.constFirst().value(QStringLiteral("event")).toString(),
              QStringLiteral("watching"));
    EXPECT_TRUE(std::any_of(objects.cbegin() + 1, objects.cend(), [&](const QJsonObject& change) {
        return change.value(QStringLiteral("event")).toString() == u"changed" &&
               change.value(QStringLiteral("path")).toString() == record;
    }));
}
} // namespace

namespace {
// Every source's store, written as its writer writes it, is followed live.
TEST(RecentsToolWatch, followsEverySourcesStore)
{
    TestHome home;
    const QString sandbox =
        home.path() + QStringLiteral("/.var/app/org.gnome.gedit/data/recently-used.xbel");
    QDir().mkpath(QFileInfo(sandbox).path());
    QProcess tool;
    tool.start(QStringLiteral(VORLANE_RECENTS_TOOL), {QStringLiteral("--watch")});
    QByteArray seen;
    ASSERT_TRUE(waitForOutput(tool, seen, "watching"));

    const QStringList stores{
        sandbox,
        // The document portal's database, in a folder the portal makes with its first document.
        home.dataHome() + QStringLiteral("/flatpak/db/documents"),
        home.dataHome() + QStringLiteral("/RecentDocuments/notes.txt.desktop"),
        home.dataHome() + QStringLiteral("/kactivitymanagerd/resources/database-wal"),
        home.path() + QStringLiteral("/.config/libreoffice/4/user/registrymodifications.xcu"),
    };
    for (const QString& store : stores) {
        seen.clear();
        home.writeFile(store, "written");
        EXPECT_TRUE(waitForOutput(tool, seen, "changed: " + QFile::encodeName(store)))
            << store.toStdString();
    }
    tool.kill();
    tool.waitForFinished();
}
} // namespace
