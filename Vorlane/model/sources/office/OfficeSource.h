#pragma once

#include "RecentSource.h"

// The secure-bookmark lists of Word, Excel and PowerPoint (OfficeRecentsReader): at most one
// entry each. Read only where the per-application record folder can be listed. Clearing deletes
// the application's list. Not watched: a clear says itself that the list changed.
class OfficeSource final : public RecentSource
{
public:
    QList<RecentApp> read() override;
    QList<WatchedPath> watchedPaths() const override;
    bool owns(const RecentApp& app) const override;
};
