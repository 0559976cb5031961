#pragma once

#include "Calendar.h"
#include "RecentApp.h"

#include <QDateTime>
#include <QList>
#include <QUrl>
#include <QVariant>

// How documents are named, dated, grouped and ordered. Every rule reads the current moment and the
// calendar from Calendar::current().

// The document at fileUrl as a RecentFile: its display name (extension shown when the global
// "AppleShowAllExtensions" setting is present), its date by lastUsedDate and its date group.
RecentFile makeRecentFile(const QUrl& fileUrl, const QVariant& bookmark,
                          bool preferModificationDate);

// The same, for sources that know when their application last used the document.
RecentFile makeRecentFile(const QUrl& fileUrl, const QVariant& bookmark, const QDateTime& usedAt);

// The name the document at fileUrl is shown with: its file name, without the extension unless
// the global "AppleShowAllExtensions" setting is present.
QString displayName(const QUrl& fileUrl);
// The same for the document's local path (fileUrl.toLocalFile()), where the reader has it.
QString displayNameOfPath(const QString& localPath);

// When the document was last used: its modification date for Dropbox paths when
// preferModificationDate is set, else the desktop's last-used date, else its modification date.
QDateTime lastUsedDate(const QUrl& fileUrl, bool preferModificationDate);

// The file's content-modification date; seven calendar days before now when it cannot be read.
QDateTime modificationDate(const QUrl& fileUrl);

// "Today", "This week" or "Last week and beyond".
QString dateGroupName(const QDateTime& date);
// The same for the part of the calendar the date falls in (Calendar::periodOf).
QString dateGroupName(Calendar::Period period);

// Elapsed time in words: "Today", "Yesterday", "3 days ago", "Last week", ... "2 years ago".
QString relativeDateText(const QDateTime& date);

// The same in two steps, for callers that word many dates: which words (the largest unit that
// has passed, and how many of it), then their text. Equal RelativeDates read the same.
struct RelativeDate
{
    enum class Unit : quint8
    {
        Days,
        Weeks,
        Months,
        Years,
    };
    Unit unit = Unit::Days;
    // 0 days is today.
    int count = 0;

    friend bool operator==(const RelativeDate&, const RelativeDate&) = default;
};
RelativeDate relativeDateOf(const QDateTime& date);
// The same seen from a given moment: many dates are worded as seen from one.
RelativeDate relativeDateOf(const QDateTime& date, const QDateTime& now);
QString relativeDateText(RelativeDate relativeDate);

// Newest first; equal dates keep their order.
void sortFilesNewestFirst(QList<RecentFile>& files);
void sortAppsNewestFirst(QList<RecentApp>& apps);

// One heading per run of equal date groups in files (already sorted), at its combined row.
QList<RecentFileGroup> buildGroupCells(const QList<RecentFile>& files);
