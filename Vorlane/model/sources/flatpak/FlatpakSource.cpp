#include "FlatpakSource.h"

#include "DateRules.h"
#include "DesktopApplicationIndex.h"
#include "FileStatus.h"
#include "FileUrl.h"
#include "FlatpakSandboxes.h"
#include "RecentlyUsedEditor.h"
#include "RecentlyUsedFile.h"
#include "RecentlyUsedSource.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {
QList<RecentFile> documentsOf(const RecentlyUsedFile& file, const DocumentPortalStore& portal)
{
    QSet<QString> seen;
    QList<RecentFile> files;
    for (const RecentlyUsedFile::Bookmark& bookmark : file.bookmarks()) {
        if (bookmark.applications.isEmpty())
            continue;
        const QString hostPath = FlatpakSandboxes::hostPathOf(bookmark.localPath, portal);
        if (hostPath.isEmpty() || seen.contains(hostPath) || !FileStatus::exists(hostPath))
            continue;
        seen.insert(hostPath);
        const QUrl url = FileUrl::fromLocalFile(hostPath);
        const QDateTime usedAt = bookmark.lastUsed();
        files.append(usedAt.isValid() ? makeRecentFile(url, bookmark.href, usedAt)
                                      : makeRecentFile(url, bookmark.href, false));
    }
    return files;
}

QString appIdOf(const RecentApp& app)
{
    if (!app.filePath().isLocalFile())
        return {};
    const QString appId = FlatpakSandboxes::appIdOfHistory(app.filePath().toLocalFile());
    return appId == app.filePath().fragment(QUrl::FullyDecoded) ? appId : QString();
}

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}
} // namespace

QList<RecentApp> FlatpakSource::read()
{
    const QList<FlatpakSandboxes::History> histories = FlatpakSandboxes::histories();
    if (histories.isEmpty())
        return {};
    DesktopApplicationIndex& index = DesktopApplicationIndex::shared();
    index.refresh();
    portal_.refresh();
    QList<RecentApp> entries;
    for (const FlatpakSandboxes::History& history : histories) {
        const DesktopApplicationIndex::Match application = index.findById(history.appId);
        if (!application.isValid())
            continue;
        QList<RecentFile> files = documentsOf(RecentlyUsedFile::load(history.xbelPath), portal_);
        if (files.isEmpty())
            continue;
        sortFilesNewestFirst(files);
        QList<RecentFileGroup> headings = buildGroupCells(files);
        const QDateTime dateModified = files.first().dateAccessed();
        const QUrl entryUrl = recentlyUsedEntryUrl(history.xbelPath, history.appId);
        entries.append(RecentApp(application.path, entryUrl, entryUrl.toString(), dateModified,
                                 std::move(files), std::move(headings)));
    }
    return entries;
}

QList<WatchedPath> FlatpakSource::watchedPaths() const
{
    // Every sandbox with a data folder, so that a history written for the first time counts, and
    // the portal's database, rewritten when a document is handed over.
    QList<WatchedPath> paths{WatchedPath::file(DocumentPortalStore::databasePath())};
    const QStringList appIds =
        QDir(FlatpakSandboxes::appsFolder())
            .entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QString& appId : appIds) {
        const QString path = FlatpakSandboxes::historyPath(appId);
        if (QFileInfo(QFileInfo(path).path()).isDir())
            paths.append(WatchedPath::file(path));
    }
    return paths;
}

bool FlatpakSource::owns(const RecentApp& app) const
{
    return !appIdOf(app).isEmpty();
}

bool FlatpakSource::removeRegistrations(const RecentApp& app, QString* error) const
{
    if (appIdOf(app).isEmpty())
        return fail(error,
                    QStringLiteral("Not a sandbox's history: %1").arg(app.filePath().toString()));
    return RecentlyUsedEditor::removeRegistrations(
        app.filePath().toLocalFile(),
        [](const RecentlyUsedFile::Bookmark&, const RecentlyUsedFile::Application&) {
            return true;
        },
        error);
}

bool FlatpakSource::canRemoveDocument(const RecentApp& app) const
{
    return owns(app);
}

bool FlatpakSource::removeDocument(const RecentApp& app, const RecentFile& file,
                                   QString* error) const
{
    if (appIdOf(app).isEmpty() || !file.filePath().isLocalFile())
        return fail(error, QStringLiteral("Not a document of a sandbox's history: %1")
                               .arg(file.filePath().toString()));
    const QString path = file.filePath().toLocalFile();
    // The sandbox may have recorded the document by its portal path.
    DocumentPortalStore portal;
    portal.refresh();
    return RecentlyUsedEditor::removeRegistrations(
        app.filePath().toLocalFile(),
        [&](const RecentlyUsedFile::Bookmark& bookmark, const RecentlyUsedFile::Application&) {
            return FlatpakSandboxes::hostPathOf(bookmark.localPath, portal) == path;
        },
        error);
}
