// vorlane-recents: prints the applications and recent documents Vorlane shows.

#include "Diagnostics.h"
#include "RecentsReport.h"
#include "RecordLocations.h"
#include "SystemRecordsReader.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonDocument>

#include <cstdio>

namespace {
void print(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
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
        "another home."));
    parser.addHelpOption();
    const QCommandLineOption jsonOption(
        QStringLiteral("json"),
        QStringLiteral("Print one JSON object for scripts; messages go to standard error."));
    const QCommandLineOption suffixOption(
        QStringLiteral("suffix"), QStringLiteral("Record files end with <suffix> (default .sfl3)."),
        QStringLiteral("suffix"));
    parser.addOption(jsonOption);
    parser.addOption(suffixOption);
    parser.process(app);

    if (parser.isSet(suffixOption))
        setRecordFileSuffix(parser.value(suffixOption));
    const bool json = parser.isSet(jsonOption);
    if (json)
        Diagnostics::setSink(Diagnostics::standardError());

    const RecentsReport report(buildRecentApps().value_or(QList<RecentApp>()));
    if (json)
        print(QJsonDocument(report.json()).toJson(QJsonDocument::Indented));
    else
        print(report.text().toUtf8());
    return 0;
}
