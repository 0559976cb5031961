#include "SystemRecordsReader.h"

#include "Bookmark.h"
#include "DateRules.h"
#include "Diagnostics.h"
#include "PropertyList.h"
#include "RecordBookmarks.h"

#include <QDir>
#include <QFile>

namespace {
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
    const RecordBookmarks record = RecordBookmarks::read(bytes);
    if (record.items == RecordBookmarks::Items::Empty)
        return {std::nullopt, {}};
    const QString home = QDir::homePath();
    QList<RecentFile> files;
    files.reserve(record.bookmarks.size());
    for (const QByteArray& bookmark : record.bookmarks) {
        const std::optional<Bookmark::Resolution> resolved = Bookmark::resolve(bookmark, home);
        if (resolved)
            files.append(makeRecentFile(resolved->fileUrl, bookmark, resolved->isStale));
    }
    if (!record.error.isEmpty())
        Diagnostics::write(QStringLiteral("Error:") + record.error);
    if (record.items == RecordBookmarks::Items::NotListed)
        return {QList<RecentFile>(), {}};
    sortFilesNewestFirst(files);
    QList<RecentFileGroup> headings = buildGroupCells(files);
    return {std::move(files), std::move(headings)};
}
