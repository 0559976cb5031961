// vorlane-recents: prints the applications and recent documents Vorlane shows.

#include "Diagnostics.h"
#include "FileMonitor.h"
#include "FileMonitorError.h"
#include "HeapPages.h"
#include "RecentsReport.h"
#include "RecordLocations.h"
#include "SearchReport.h"
#include "VorlaneController.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <cstdlib>
#include <malloc.h>

namespace {
// What a shell's usage error returns.
constexpr int usageError = 2;

const QString description = QStringLiteral(
    "Lists the applications that recently opened documents, newest first, each with its\n"
    "documents under the date headings Vorlane shows, exactly as Vorlane builds the list.\n"
    "\n"
    "Reads what Vorlane reads:\n"
    "  - the desktop's shared record of recently used files, written by GTK, GNOME and KDE\n"
    "    applications: $XDG_DATA_HOME/recently-used.xbel\n"
    "  - Flatpak applications' own copies of it in their sandboxes:\n"
    "    ~/.var/app/<app id>/data/recently-used.xbel, and the document portal's database for\n"
    "    the real paths of the documents it handed them: $XDG_DATA_HOME/flatpak/db/documents\n"
    "  - KDE's list of recent documents: $XDG_DATA_HOME/RecentDocuments/*.desktop\n"
    "  - Plasma's activity manager's history, read without writing or locking it:\n"
    "    $XDG_DATA_HOME/kactivitymanagerd/resources/database\n"
    "  - LibreOffice's list of recent documents:\n"
    "    $XDG_CONFIG_HOME/libreoffice/4/user/registrymodifications.xcu\n"
    "  - the per-application records (*.sfl3) in\n"
    "    $XDG_DATA_HOME/com.apple.sharedfilelist/"
    "com.apple.LSSharedFileList.ApplicationRecentDocuments\n"
    "  - where that folder exists, Adobe's list\n"
    "    ~/Library/Preferences/com.adobe.mediabrowser.plist and Microsoft Office's lists\n"
    "    ~/Library/Containers/com.microsoft.{Word,Excel,Powerpoint}/Data/Library/"
    "Preferences/*.securebookmarks.plist\n"
    "Applications are desktop entries in $XDG_DATA_HOME/applications, Flatpak's export\n"
    "folders and $XDG_DATA_DIRS/*/applications; an application found in several of these\n"
    "is listed once, with all its documents. Documents that no longer exist are left out.\n"
    "Point HOME and the XDG variables elsewhere to list another home.\n"
    "\n"
    "With --search, prints only the documents the words find, best first, as typing them in\n"
    "Vorlane's window finds them: case and accents do not matter, a word may be typed in part\n"
    "or with letters left out, and with a / the folders' names count too.\n"
    "\n"
    "Messages about files that cannot be read go to standard error, each naming its file.");

void print(QByteArrayView bytes, std::FILE* stream = stdout)
{
    std::fwrite(bytes.data(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

void printJsonLine(const QJsonObject& object)
{
    print(QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
}

// Everything is printed and flushed: the system takes the store back at once, where tearing it
// down document by document would take longer than printing it.
[[noreturn]] void finish()
{
    std::fflush(stdout);
    std::_Exit(0);
}

int usageMistake(const QString& text)
{
    print(QStringLiteral("vorlane-recents: %1\nTry 'vorlane-recents --help' for the options.\n")
              .arg(text)
              .toUtf8(),
          stderr);
    return usageError;
}

// In text mode the report itself says when nothing was found; the store's line would say it a
// second time.
void sendMessagesToStandardError(bool json)
{
    Diagnostics::setNamesFiles(true);
    const Diagnostics::Sink standardError = Diagnostics::standardError();
    Diagnostics::setSink([json, standardError](const QString& line) {
        if (json || line != u"No recent apps found")
            standardError(line);
    });
}

// One line per change, as text or as JSON Lines.
int watch(QCoreApplication& app, bool json)
{
    FileMonitor monitor;
    try {
        monitor.start(QUrl(), [json](const QUrl& fileUrl) {
            const QString path = fileUrl.toLocalFile();
            if (json)
                printJsonLine({{QStringLiteral("event"), QStringLiteral("changed")},
                               {QStringLiteral("path"), path}});
            else
                print("changed: " + QFile::encodeName(path) + '\n');
        });
    } catch (const FileMonitorError& error) {
        print(QByteArray("Error starting file monitor: ") + error.what() + '\n', stderr);
        return 1;
    }
    QStringList watched;
    for (const WatchedPath& path : monitor.watchedPaths())
        watched << path.path;
    if (json)
        printJsonLine({{QStringLiteral("event"), QStringLiteral("watching")},
                       {QStringLiteral("paths"), QJsonArray::fromStringList(watched)}});
    else
        print("watching " + QFile::encodeName(watched.join(QStringLiteral(" and "))) + '\n');
    return app.exec();
}

// A short-lived process: memory freed (the shared file's bytes once parsed) is kept for the
// allocations that follow instead of handed back to the system and asked for again, each page
// of it a page fault.
void keepFreedMemory()
{
    // The largest the C library allows: blocks larger still are mapped on their own.
    constexpr int largestHeapBlock = 32 * 1024 * 1024;
    ::mallopt(M_MMAP_THRESHOLD, largestHeapBlock);
    ::mallopt(M_TRIM_THRESHOLD, 8 * largestHeapBlock);
}

} // namespace

int main(int argc, char* argv[])
{
    keepFreedMemory();
    // A report of thousands of documents first touches thousands of pages.
    HeapPages::backMainHeap();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vorlane-recents"));

    QCommandLineParser parser;
    parser.setApplicationDescription(description);
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption jsonOption(
        QStringLiteral("json"),
        QStringLiteral("Print one JSON object for scripts (with --watch, one per line)."));
    const QCommandLineOption watchOption(
        QStringLiteral("watch"),
        QStringLiteral("Print one line per change the window follows (a record written, "
                       "renamed or removed, the shared file replaced) until interrupted."));
    const QCommandLineOption suffixOption(
        QStringLiteral("suffix"), QStringLiteral("Record files end with <suffix> (default .sfl3)."),
        QStringLiteral("suffix"));
    const QCommandLineOption searchOption(
        QStringLiteral("search"),
        QStringLiteral("Print only the documents <words> find, best first (the words may also "
                       "follow as separate arguments)."),
        QStringLiteral("words"));
    parser.addOption(jsonOption);
    parser.addOption(searchOption);
    parser.addOption(suffixOption);
    parser.addOption(watchOption);
    if (!parser.parse(QCoreApplication::arguments()))
        return usageMistake(parser.errorText());
    // The parser prints either help, with or without Qt's options, and exits.
    if (parser.isSet(helpOption) || parser.isSet(QStringLiteral("help-all")))
        parser.process(app);
    const bool searching = parser.isSet(searchOption);
    const QStringList extra = parser.positionalArguments();
    if (!extra.isEmpty() && !searching)
        return usageMistake(QStringLiteral("unexpected argument '%1'").arg(extra.constFirst()));
    if (searching && parser.isSet(watchOption))
        return usageMistake(QStringLiteral("--search and --watch cannot be used together"));
    const QString typed = (QStringList{parser.value(searchOption)} + extra).join(u' ');
    if (searching && typed.trimmed().isEmpty())
        return usageMistake(QStringLiteral("--search needs the words to find"));

    if (parser.isSet(suffixOption))
        setRecordFileSuffix(parser.value(suffixOption));
    const bool json = parser.isSet(jsonOption);
    sendMessagesToStandardError(json);

    if (parser.isSet(watchOption))
        return watch(app, json);

    // Built exactly as the window's store builds it; the placeholder is the window's business.
    const VorlaneController store;
    if (searching) {
        const SearchReport found(store.isEmpty() ? QList<RecentApp>() : store.recentApps(), typed);
        if (json)
            print(QJsonDocument(found.json()).toJson(QJsonDocument::Indented));
        else
            print(found.text().toUtf8());
        finish();
    }
    const RecentsReport report(store.isEmpty() ? QList<RecentApp>() : store.recentApps());
    if (json)
        report.writeJsonText([](QByteArrayView piece) { print(piece); });
    else
        print(report.text().toUtf8());
    finish();
}
