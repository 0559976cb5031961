#include "ApplicationRecordsSource.h"

#include "ApplicationLookup.h"
#include "DateRules.h"
#include "DesktopApplicationIndex.h"
#include "RecordLocations.h"
#include "SystemRecordsReader.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace {
std::optional<RecentApp> readRecordOfApplication(const QFileInfo& record, const QString& suffix,
                                                 DesktopApplicationIndex& applications)
{
    const QString bundleIdentifier = record.fileName().remove(suffix);
    const QString sourceApp =
        ApplicationLookup::urlForApplicationWithBundleIdentifier(bundleIdentifier, applications);
    if (sourceApp.isEmpty())
        return std::nullopt;

    const QUrl recordUrl = QUrl::fromLocalFile(record.absoluteFilePath());
    const QDateTime dateModified = modificationDate(recordUrl);
    RecordContents contents = readRecordFile(recordUrl);
    if (!contents.files || contents.files->isEmpty())
        return std::nullopt;
    return RecentApp(sourceApp, recordUrl, recordUrl.toString(), dateModified,
                     std::move(*contents.files), std::move(contents.headings));
}
} // namespace

bool ApplicationRecordsSource::folderCanBeListed()
{
    const QDir folder(recordFolderPath());
    return folder.exists() && folder.isReadable();
}

QList<RecentApp> ApplicationRecordsSource::read()
{
    if (!folderCanBeListed())
        return {};
    const QString suffix = recordFileSuffix();
    const QFileInfoList entries =
        QDir(recordFolderPath())
            .entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    DesktopApplicationIndex& applications = DesktopApplicationIndex::shared();
    bool applicationsLookedAt = false;
    QList<RecentApp> apps;
    for (const QFileInfo& entry : entries) {
        if (!entry.fileName().endsWith(suffix))
            continue;
        // Looked at once for all the records, and only when there is one.
        if (!std::exchange(applicationsLookedAt, true))
            applications.refresh();
        if (std::optional<RecentApp> app = readRecordOfApplication(entry, suffix, applications))
            apps.append(std::move(*app));
    }
    return apps;
}

QList<WatchedPath> ApplicationRecordsSource::watchedPaths() const
{
    // Writers keep records open and write them in place, or replace them.
    return {WatchedPath::folder(recordFolderPath(), recordFileSuffix(), true)};
}

bool ApplicationRecordsSource::owns(const RecentApp& app) const
{
    return app.filePath().isLocalFile() && !app.filePath().hasFragment() &&
           watches(app.filePath().toLocalFile());
}
