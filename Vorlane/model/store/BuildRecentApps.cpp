#include "BuildRecentApps.h"

#include "Calendar.h"
#include "DateRules.h"
#include "Diagnostics.h"
#include "FileStatus.h"
#include "RecentSources.h"
#include "UserDefaults.h"

#include <QHash>

#include <algorithm>

namespace {
RecentApp merged(const QList<const RecentApp*>& parts)
{
    const RecentApp& first = *parts.first();
    QHash<QUrl, qsizetype> positions;
    QList<RecentFile> files;
    QList<QUrl> mergedFilePaths;
    for (const RecentApp* part : parts) {
        if (part != &first)
            mergedFilePaths.append(part->filePath());
        for (const RecentFile& file : part->recentFiles()) {
            const auto known = positions.constFind(file.filePath());
            if (known == positions.constEnd()) {
                positions.insert(file.filePath(), files.size());
                files.append(file);
            } else if (file.dateAccessed() > files.at(*known).dateAccessed()) {
                files[*known] = file;
            }
        }
    }
    sortFilesNewestFirst(files);
    QList<RecentFileGroup> headings = buildGroupCells(files);
    QDateTime dateModified = first.dateModified();
    for (const RecentApp* part : parts)
        dateModified = std::max(dateModified, part->dateModified());
    RecentApp app(first.sourceApp(), first.filePath(), first.name(), dateModified, std::move(files),
                  std::move(headings));
    app.setMergedFilePaths(std::move(mergedFilePaths));
    return app;
}
} // namespace

void mergeEntriesOfOneApplication(QList<RecentApp>& apps)
{
    QHash<QString, qsizetype> positions;
    QList<QList<const RecentApp*>> groups;
    for (const RecentApp& app : apps) {
        const auto known = positions.constFind(app.sourceApp());
        if (app.sourceApp().isEmpty() || known == positions.constEnd()) {
            positions.insert(app.sourceApp(), groups.size());
            groups.append({&app});
        } else {
            groups[*known].append(&app);
        }
    }
    if (groups.size() == apps.size())
        return;
    QList<RecentApp> result;
    result.reserve(groups.size());
    for (const QList<const RecentApp*>& group : groups)
        result.append(group.size() == 1 ? *group.first() : merged(group));
    apps = std::move(result);
}

std::optional<QList<RecentApp>> buildRecentApps()
{
    UserDefaults::global().reload();
    Calendar::current().followSystemZone();
    const FileStatus::Batch documentsAskedByFolder;

    const RecentSources sources;
    for (const auto& source : sources.all())
        source->prepare();
    QList<RecentApp> apps;
    for (const auto& source : sources.all())
        apps.append(source->read());

    mergeEntriesOfOneApplication(apps);
    sortAppsNewestFirst(apps);
    if (apps.isEmpty()) {
        Diagnostics::write(QStringLiteral("No recent apps found"));
        return std::nullopt;
    }
    return apps;
}
