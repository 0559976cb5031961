#include "SystemRecordsReader.h"

#include "Bookmark.h"
#include "DateRules.h"
#include "Diagnostics.h"
#include "KeyedArchive.h"
#include "PropertyList.h"

#include <QDir>
#include <QFile>

namespace {
template <typename T>
bool isA(const QVariant& value)
{
    return value.metaType() == QMetaType::fromType<T>();
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
} // namespace

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
