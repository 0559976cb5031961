#pragma once

#include "RecentApp.h"

#include <QList>
#include <QUrl>

#include <optional>

// What one record file yields: its documents newest first (none when its list of items is empty)
// and their date headings.
struct RecordContents
{
    std::optional<QList<RecentFile>> files;
    QList<RecentFileGroup> headings;
};

// Every application with at least one document that still resolves, from the per-application
// records, then the Adobe and Office sources (only when the record folder can be listed), then
// the desktop's shared recently-used file, newest first; none when there is nothing to show.
std::optional<QList<RecentApp>> buildRecentApps();

// Reads one record file (a keyed archive whose root dictionary holds "items", each with a
// "Bookmark") and resolves its bookmarks against the home folder.
RecordContents readRecordFile(const QUrl& recordFile);
// The same for the bytes of a record file already in memory.
RecordContents readRecordData(const QByteArray& bytes);
