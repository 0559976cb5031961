#include "OfficeSource.h"

#include "ApplicationRecordsSource.h"
#include "OfficeRecentsReader.h"

#include <algorithm>

QList<RecentApp> OfficeSource::read()
{
    if (!ApplicationRecordsSource::folderCanBeListed())
        return {};
    return readOfficeEntries();
}

QList<WatchedPath> OfficeSource::watchedPaths() const
{
    QList<WatchedPath> files;
    for (const QString& id : officeApplications())
        files.append(WatchedPath::file(officeSecureBookmarkFileUrl(id).toLocalFile()));
    return files;
}

bool OfficeSource::owns(const RecentApp& app) const
{
    const QStringList applications = officeApplications();
    return std::any_of(applications.cbegin(), applications.cend(), [&app](const QString& id) {
        return app.filePath() == officeSecureBookmarkFileUrl(id);
    });
}
