#include "DocumentPresence.h"

#include "FileStatus.h"

#include <QSet>

namespace {
QSet<QString> listedPaths(const QList<RecentApp>& apps)
{
    QSet<QString> paths;
    for (const RecentApp& app : apps)
        for (const RecentFile& file : app.recentFiles())
            paths.insert(file.filePath().toLocalFile());
    return paths;
}
} // namespace

bool DocumentPresence::anyMissing(const QList<RecentApp>& apps)
{
    const FileStatus::Batch documentsAskedByFolder;
    for (const RecentApp& app : apps)
        for (const RecentFile& file : app.recentFiles())
            if (!FileStatus::isPresent(file.filePath().toLocalFile()))
                return true;
    return false;
}

bool DocumentPresence::anyBack(const QStringList& paths)
{
    const FileStatus::Batch documentsAskedByFolder;
    for (const QString& path : paths)
        if (FileStatus::isPresent(path))
            return true;
    return false;
}

QStringList DocumentPresence::vanished(const QList<RecentApp>& previous, const QStringList& earlier,
                                       const QList<RecentApp>& current)
{
    // The first build has nothing before it to lose.
    if (previous.isEmpty() && earlier.isEmpty())
        return {};
    const QSet<QString> listed = listedPaths(current);
    const FileStatus::Batch documentsAskedByFolder;
    QSet<QString> seen;
    QStringList gone;
    const auto consider = [&](const QString& path) {
        if (path.isEmpty() || listed.contains(path) || seen.contains(path))
            return;
        seen.insert(path);
        if (!FileStatus::isPresent(path))
            gone.append(path);
    };
    for (const QString& path : earlier)
        consider(path);
    for (const RecentApp& app : previous)
        for (const RecentFile& file : app.recentFiles())
            consider(file.filePath().toLocalFile());
    if (gone.size() > maximumRemembered)
        gone.remove(0, gone.size() - maximumRemembered);
    return gone;
}
