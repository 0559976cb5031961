// vorlane-recents: prints the applications and recent documents Vorlane shows.

#include "Diagnostics.h"
#include "FileMonitor.h"
#include "FileMonitorError.h"
#include "RecentsReport.h"
#include "RecordLocations.h"
#include "VorlaneController.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>

#include <cstdio>

namespace {
void print(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}
int watch(QCoreApplication& app)
{
    FileMonitor monitor;
    try {
        monitor.start(QUrl(), [](const QUrl& fileUrl) {
            print("changed: " + QFile::encodeName(fileUrl.toLocalFile()) + '\n');
        });
    } catch (const FileMonitorError& error) {
        print(QByteArray("Error starting file monitor: ") + error.what() + '\n');
        return 1;
    }
    QStringList watched;
    for (const WatchedPath& path : monitor.watchedPaths())
        watched << path.path;
    print("watching " + QFile::encodeName(watched.join(QStringLiteral(" and "))) + '\n');
    return app.exec();
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vorlane-recents"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Lists the applications that recently opened documents, newest first, each with its\n"
        "documents under the date headings Vorlane shows, exactly as Vorlane builds the list.\n\n"
        "Reads the per-application records in\n"
        "  $XDG_DATA_HOME/com.apple.sharedfilelist/"
        "com.apple.LSSharedFileList.ApplicationRecentDocuments\n"
        "and finds applications as desktop entries in $XDG_DATA_HOME/applications and\n"
        "$XDG_DATA_DIRS/*/applications. Point HOME and the XDG variables elsewhere to list\n"
        "another home. --watch prints a line for every change the window would follow."));
    parser.addHelpOption();
    const QCommandLineOption jsonOption(
        QStringLiteral("json"),
        QStringLiteral("Print one JSON object for scripts; messages go to standard error."));
    const QCommandLineOption watchOption(
        QStringLiteral("watch"),
        QStringLiteral("Print one line per change of a record file until interrupted."));
    const QCommandLineOption suffixOption(
        QStringLiteral("suffix"), QStringLiteral("Record files end with <suffix> (default .sfl3)."),
        QStringLiteral("suffix"));
    parser.addOption(jsonOption);
    parser.addOption(suffixOption);
    parser.addOption(watchOption);
    parser.process(app);

    if (parser.isSet(suffixOption))
        setRecordFileSuffix(parser.value(suffixOption));
    const bool json = parser.isSet(jsonOption);
    if (json)
        Diagnostics::setSink(Diagnostics::standardError());

    if (parser.isSet(watchOption))
        return watch(app);

    // Built exactly as the window's store builds it; the placeholder is the window's business.
    const VorlaneController store;
    const RecentsReport report(store.isEmpty() ? QList<RecentApp>() : store.recentApps());
    if (json)
        print(QJsonDocument(report.json()).toJson(QJsonDocument::Indented));
    else
        print(report.text().toUtf8());
    return 0;
}
