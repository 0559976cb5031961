#pragma once

#include "RecentSource.h"

// The Adobe media browser's preference file (AdobeRecentsReader): an entry per installed Adobe
// application it lists. Read only where the per-application record folder can be listed.
// Clearing deletes the file, which every Adobe application shares. Not watched: a clear says
// itself that the list changed.
class AdobeSource final : public RecentSource
{
public:
    QList<RecentApp> read() override;
    QList<WatchedPath> watchedPaths() const override;
    bool owns(const RecentApp& app) const override;
};
