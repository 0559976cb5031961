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

// Reads one record file (a keyed archive whose root dictionary holds "items", each with a
// "Bookmark") and resolves its bookmarks against the home folder.
RecordContents readRecordFile(const QUrl& recordFile);
// The same for the bytes of a record file already in memory.
RecordContents readRecordData(const QByteArray& bytes);
