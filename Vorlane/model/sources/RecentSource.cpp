#include "RecentSource.h"

#include <algorithm>

RecentSource::~RecentSource() = default;

bool RecentSource::removeRegistrations(const RecentApp& app, QString* error) const
{
    if (error)
        *error = QStringLiteral("Its documents are cleared by deleting its record file: %1")
                     .arg(app.filePath().toString());
    return false;
}

bool RecentSource::canRemoveDocument(const RecentApp&) const
{
    return false;
}

bool RecentSource::removeDocument(const RecentApp& app, const RecentFile&, QString* error) const
{
    if (error)
        *error = QStringLiteral("Documents cannot be removed one at a time from %1")
                     .arg(app.filePath().toString());
    return false;
}

bool RecentSource::watches(const QString& filePath) const
{
    const QList<WatchedPath> paths = watchedPaths();
    return std::any_of(paths.cbegin(), paths.cend(), [&filePath](const WatchedPath& watched) {
        return watched.covers(filePath);
    });
}
