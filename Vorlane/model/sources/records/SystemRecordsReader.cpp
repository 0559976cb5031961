#include "SystemRecordsReader.h"

#include "Bookmark.h"
#include "DateRules.h"
#include "Diagnostics.h"
#include "FileContents.h"
#include "PropertyList.h"
#include "RecordBookmarks.h"

#include <QDir>

RecordContents readRecordFile(const QUrl& recordFile)
{
    const Diagnostics::About about(recordFile.toLocalFile());
    const FileContents contents =
        FileContents::read(recordFile.toLocalFile(), PropertyList::maximumFileSize);
    if (!contents.wasRead()) {
        Diagnostics::write(QStringLiteral("Couldn't read file"));
        return {QList<RecentFile>(), {}};
    }
    return readRecordData(contents.bytes);
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
