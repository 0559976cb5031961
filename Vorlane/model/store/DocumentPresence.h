#pragma once

#include "RecentApp.h"

#include <QList>
#include <QStringList>

// Whether the documents of a list are still where they were: a stat each, or a folder's listing
// for a folder many of them lie in; nothing read. A link counts as its target, as the readers
// decide. Used off the main thread, on lists of its own.
class DocumentPresence
{
public:
    // Whether a document of the list no longer exists.
    static bool anyMissing(const QList<RecentApp>& apps);
    // Whether one of the paths exists again.
    static bool anyBack(const QStringList& paths);
    // The documents that left the list because they no longer exist: those of previous missing
    // from current, with those of earlier still missing and still not listed. A document that
    // exists but is no longer listed was dropped by its record and is forgotten.
    static QStringList vanished(const QList<RecentApp>& previous, const QStringList& earlier,
                                const QList<RecentApp>& current);

    // The most vanished documents remembered; the oldest are forgotten first.
    static constexpr qsizetype maximumRemembered = 10'000;
};
