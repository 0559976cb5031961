#pragma once

#include "RecentApp.h"

#include <functional>

// Opening a recent file from the window: with the application that recorded it, or shown in the
// file manager when reveal is true. viewKind is "list" or "grid", where the file was chosen.
void openRecentFile(const RecentApp& app, qsizetype index, const QString& viewKind, bool reveal);

// What openRecentFile does; the files side installs its actions here.
using OpenRecentFileHandler = std::function<void(const RecentApp& app, qsizetype index,
                                                 const QString& viewKind, bool reveal)>;
OpenRecentFileHandler setOpenRecentFileHandler(OpenRecentFileHandler handler);
