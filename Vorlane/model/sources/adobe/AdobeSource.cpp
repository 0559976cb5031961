#include "AdobeSource.h"

#include "AdobeRecentsReader.h"
#include "ApplicationRecordsSource.h"

#include <QFileInfo>

QList<RecentApp> AdobeSource::read()
{
    if (!ApplicationRecordsSource::folderCanBeListed() ||
        !QFileInfo::exists(adobePreferenceFileUrl().path()))
        return {};
    return readAdobeEntries();
}

QList<WatchedPath> AdobeSource::watchedPaths() const
{
    return {};
}

bool AdobeSource::owns(const RecentApp& app) const
{
    return app.filePath() == adobePreferenceFileUrl();
}
