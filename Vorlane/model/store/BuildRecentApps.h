#pragma once

#include "RecentApp.h"

#include <QList>

#include <optional>

// Every application with at least one document that still exists, from every source
// (RecentSources) in its order, newest first; none when there is nothing to show.
std::optional<QList<RecentApp>> buildRecentApps();
