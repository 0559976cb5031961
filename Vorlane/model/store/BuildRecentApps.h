#pragma once

#include "RecentApp.h"

#include <QList>

#include <optional>

// Every application with at least one document that still exists, from every source
// (RecentSources) in its order, newest first; none when there is nothing to show.
std::optional<QList<RecentApp>> buildRecentApps();

// Makes the entries of one application (the same sourceApp) one entry: the first one's identity,
// every entry's documents once each (dated by the newest date any entry gives), and the others'
// record files as its mergedFilePaths(). Entries keep the order of their first part.
void mergeEntriesOfOneApplication(QList<RecentApp>& apps);
