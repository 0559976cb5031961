#include "KdeRecentDocumentsSource.h"

#include "AgentEntries.h"
#include "KdeRecentDocuments.h"

#include <QFile>

#include <functional>

namespace {
// Deletes the links of the entry's application that select() picks; false, with *error set, when
// one of them could not be deleted.
bool deleteLinks(const RecentApp& app, const std::function<bool(const QString&)>& select,
                 QString* error)
{
    const QString folder = KdeRecentDocuments::folderPath();
    const QString agent = AgentEntries::agentOf(app, folder);
    if (agent.isEmpty()) {
        if (error)
            *error = QStringLiteral("Not an entry of %1").arg(folder);
        return false;
    }
    bool deleted = true;
    for (const KdeRecentDocuments::Link& link : KdeRecentDocuments::read(folder)) {
        if (link.agent != agent || !select(link.path))
            continue;
        QFile file(link.linkPath);
        if (!file.remove()) {
            if (error)
                *error = file.errorString();
            deleted = false;
        }
    }
    return deleted;
}
} // namespace

QList<RecentApp> KdeRecentDocumentsSource::read()
{
    QList<AgentEntries::Use> uses;
    for (const KdeRecentDocuments::Link& link :
         KdeRecentDocuments::read(KdeRecentDocuments::folderPath()))
        uses.append({link.agent, link.path, link.lastUsed});
    return AgentEntries::build(uses, KdeRecentDocuments::folderPath());
}

QList<WatchedPath> KdeRecentDocumentsSource::watchedPaths() const
{
    return {
        WatchedPath::folder(KdeRecentDocuments::folderPath(), QStringLiteral(".desktop"), false)};
}

bool KdeRecentDocumentsSource::owns(const RecentApp& app) const
{
    return !AgentEntries::agentOf(app, KdeRecentDocuments::folderPath()).isEmpty();
}

bool KdeRecentDocumentsSource::removeRegistrations(const RecentApp& app, QString* error) const
{
    return deleteLinks(
        app, [](const QString&) { return true; }, error);
}

bool KdeRecentDocumentsSource::canRemoveDocument(const RecentApp& app) const
{
    return owns(app);
}

bool KdeRecentDocumentsSource::removeDocument(const RecentApp& app, const RecentFile& file,
                                              QString* error) const
{
    const QString path = file.filePath().toLocalFile();
    return deleteLinks(
        app, [&path](const QString& linkTarget) { return linkTarget == path; }, error);
}
