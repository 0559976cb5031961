#include "AgentEntries.h"

#include "DateRules.h"
#include "DesktopApplicationIndex.h"
#include "FileUrl.h"

#include <QFileInfo>
#include <QHash>

namespace AgentEntries {
QList<RecentApp> build(const QList<Use>& uses, const QString& recordPath)
{
    if (uses.isEmpty())
        return {};
    DesktopApplicationIndex& index = DesktopApplicationIndex::shared();
    index.refresh();

    QHash<QString, qsizetype> agentPositions;
    QList<QList<const Use*>> agents;
    for (const Use& use : uses) {
        auto position = agentPositions.constFind(use.agent);
        if (position == agentPositions.constEnd()) {
            position = agentPositions.insert(use.agent, agents.size());
            agents.append(QList<const Use*>());
        }
        agents[*position].append(&use);
    }

    // Each document is looked at once, however many applications used it.
    QHash<QString, bool> isDocument;
    QList<RecentApp> entries;
    for (const QList<const Use*>& agentUses : agents) {
        const QString& agent = agentUses.first()->agent;
        const DesktopApplicationIndex::Match application = index.findById(agent);
        if (!application.isValid())
            continue;
        QHash<QString, qsizetype> positions;
        QList<RecentFile> files;
        for (const Use* use : agentUses) {
            auto known = isDocument.constFind(use->path);
            if (known == isDocument.constEnd())
                known = isDocument.insert(use->path, QFileInfo(use->path).isFile());
            if (!*known)
                continue;
            const auto listed = positions.constFind(use->path);
            const RecentFile file =
                makeRecentFile(FileUrl::fromLocalFile(use->path), {}, use->lastUsed);
            if (listed == positions.constEnd()) {
                positions.insert(use->path, files.size());
                files.append(file);
            } else if (use->lastUsed > files.at(*listed).dateAccessed()) {
                files[*listed] = file;
            }
        }
        if (files.isEmpty())
            continue;
        sortFilesNewestFirst(files);
        QList<RecentFileGroup> headings = buildGroupCells(files);
        QUrl entryUrl = QUrl::fromLocalFile(recordPath);
        entryUrl.setFragment(agent, QUrl::DecodedMode);
        const QDateTime dateModified = files.first().dateAccessed();
        entries.append(RecentApp(application.path, entryUrl, entryUrl.toString(), dateModified,
                                 std::move(files), std::move(headings)));
    }
    return entries;
}

QString agentOf(const RecentApp& app, const QString& recordPath)
{
    const QUrl& url = app.filePath();
    if (!url.isLocalFile() || !url.hasFragment() || url.toLocalFile() != recordPath)
        return {};
    return url.fragment(QUrl::FullyDecoded);
}
} // namespace AgentEntries
