#include "SystemRecordsReader.h"

#include "AdobeRecentsReader.h"
#include "ApplicationLookup.h"
#include "Bookmark.h"
#include "DateRules.h"
#include "Diagnostics.h"
#include "KeyedArchive.h"
#include "MetadataQuery.h"
#include "OfficeRecentsReader.h"
#include "PropertyList.h"
#include "RecentlyUsedFile.h"
#include "RecentlyUsedMetadata.h"
#include "RecentlyUsedSource.h"
#include "RecordLocations.h"
#include "UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
template <typename T>
bool isA(const QVariant& value)
{
    return value.metaType() == QMetaType::fromType<T>();
}

void writeNoRecentAppsFound()
{
    Diagnostics::write(QStringLiteral("No recent apps found"));
}

std::optional<QByteArray> readWholeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > PropertyList::maximumFileSize)
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

std::optional<RecentApp> readRecordOfApplication(const QFileInfo& record, const QString& suffix)
{
    const QString bundleIdentifier = record.fileName().remove(suffix);
    const QString sourceApp =
        ApplicationLookup::urlForApplicationWithBundleIdentifier(bundleIdentifier);
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

// The per-application records, then the Adobe and Office entries; nothing at all when the
// record folder cannot be listed.
QList<RecentApp> readRecordsAndApplicationLists()
{
    const QDir folder(recordFolderPath());
    if (!folder.exists() || !folder.isReadable())
        return {};
    const QString suffix = recordFileSuffix();
    QList<RecentApp> apps;
    const QFileInfoList entries =
        folder.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        if (!entry.fileName().endsWith(suffix))
            continue;
        if (std::optional<RecentApp> app = readRecordOfApplication(entry, suffix))
            apps.append(std::move(*app));
    }

    if (QFileInfo::exists(adobePreferenceFileUrl().path()))
        apps.append(readAdobeEntries());
    apps.append(readOfficeEntries());
    return apps;
}
} // namespace

std::optional<QList<RecentApp>> buildRecentApps()
{
    UserDefaults::global().reload();

    // The desktop's shared record is read once: it dates documents for every source and is a
    // source of its own, whether or not the per-application record folder exists.
    const RecentlyUsedFile recentlyUsed = RecentlyUsedFile::load(recentlyUsedFilePath());
    MetadataQuery::setCurrent(std::make_shared<RecentlyUsedMetadata>(recentlyUsed));

    QList<RecentApp> apps = readRecordsAndApplicationLists();
    apps.append(readRecentlyUsedEntries(recentlyUsed));

    sortAppsNewestFirst(apps);
    if (apps.isEmpty()) {
        writeNoRecentAppsFound();
        return std::nullopt;
    }
    return apps;
}

RecordContents readRecordFile(const QUrl& recordFile)
{
    const Diagnostics::About about(recordFile.toLocalFile());
    const std::optional<QByteArray> bytes = readWholeFile(recordFile.toLocalFile());
    if (!bytes) {
        Diagnostics::write(QStringLiteral("Couldn't read file"));
        return {QList<RecentFile>(), {}};
    }
    return readRecordData(*bytes);
}

RecordContents readRecordData(const QByteArray& bytes)
{
    QString error;
    const std::optional<KeyedArchive> archive = KeyedArchive::open(bytes, &error);
    if (!archive) {
        Diagnostics::write(QStringLiteral("Error:") + error);
        return {QList<RecentFile>(), {}};
    }
    // Only the items and their bookmarks are decoded; the rest of the record is never read.
    const QVariant root =
        archive->resolve(archive->topLevelReference(QStringLiteral("root")), &error);
    if (error.isEmpty() && !root.isNull() && !isA<QVariantMap>(root))
        error = QStringLiteral("The archive's root object is not a dictionary.");
    const QVariant items =
        error.isEmpty() ? archive->resolve(root.toMap().value(QStringLiteral("items")), &error)
                        : QVariant();
    if (!error.isEmpty())
        Diagnostics::write(QStringLiteral("Error:") + error);
    if (!isA<QVariantList>(items))
        return {QList<RecentFile>(), {}};
    const QVariantList elements = items.toList();
    if (elements.isEmpty())
        return {std::nullopt, {}};

    const QString home = QDir::homePath();
    QList<RecentFile> files;
    for (const QVariant& reference : elements) {
        const QVariant element = archive->resolve(reference, &error);
        const QVariant bookmark =
            isA<QVariantMap>(element)
                ? archive->resolve(element.toMap().value(QStringLiteral("Bookmark")), &error)
                : QVariant();
        if (!error.isEmpty()) {
            // A damaged archive: keep what was decoded before the damage.
            Diagnostics::write(QStringLiteral("Error:") + error);
            break;
        }
        if (!isA<QByteArray>(bookmark))
            continue;
        const std::optional<Bookmark::Resolution> resolved =
            Bookmark::resolve(bookmark.toByteArray(), home);
        if (resolved)
            files.append(makeRecentFile(resolved->fileUrl, bookmark, resolved->isStale));
    }
    sortFilesNewestFirst(files);
    QList<RecentFileGroup> headings = buildGroupCells(files);
    return {std::move(files), std::move(headings)};
}
