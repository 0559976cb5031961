#include "SystemRecordsReader.h"

#include "AdobeRecentsReader.h"
#include "ApplicationLookup.h"
#include "Bookmark.h"
#include "DateRules.h"
#include "Diagnostics.h"
#include "KeyedArchive.h"
#include "OfficeRecentsReader.h"
#include "PropertyList.h"
#include "RecordLocations.h"
#include "UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
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
} // namespace

std::optional<QList<RecentApp>> buildRecentApps()
{
    UserDefaults::global().reload();

    const QDir folder(recordFolderPath());
    if (!folder.exists() || !folder.isReadable()) {
        writeNoRecentAppsFound();
        return std::nullopt;
    }
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

    sortAppsNewestFirst(apps);
    if (apps.isEmpty()) {
        writeNoRecentAppsFound();
        return std::nullopt;
    }
    return apps;
}

RecordContents readRecordFile(const QUrl& recordFile)
{
    const std::optional<QByteArray> bytes = readWholeFile(recordFile.toLocalFile());
    if (!bytes) {
        Diagnostics::write(QStringLiteral("Couldn't read file"));
        return {QList<RecentFile>(), {}};
    }
    QString error;
    const std::optional<KeyedArchive> archive = KeyedArchive::open(*bytes, &error);
    if (!archive) {
        Diagnostics::write(QStringLiteral("Error:") + error);
        return {QList<RecentFile>(), {}};
    }
    const QVariant root = archive->decodeTopLevelObject(QStringLiteral("root"), &error);
    if (error.isEmpty() && !root.isNull() && root.metaType() != QMetaType::fromType<QVariantMap>())
        error = QStringLiteral("The archive's root object is not a dictionary.");
    if (!error.isEmpty())
        Diagnostics::write(QStringLiteral("Error:") + error);

    const QVariant items = root.toMap().value(QStringLiteral("items"));
    if (items.metaType() != QMetaType::fromType<QVariantList>())
        return {QList<RecentFile>(), {}};
    const QVariantList elements = items.toList();
    if (elements.isEmpty())
        return {std::nullopt, {}};

    const QString home = QDir::homePath();
    QList<RecentFile> files;
    for (const QVariant& element : elements) {
        if (element.metaType() != QMetaType::fromType<QVariantMap>())
            continue;
        const QVariant bookmark = element.toMap().value(QStringLiteral("Bookmark"));
        if (bookmark.metaType() != QMetaType::fromType<QByteArray>())
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
