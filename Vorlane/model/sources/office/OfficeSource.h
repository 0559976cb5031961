#pragma once

#include "RecentSource.h"

// The secure-bookmark lists of Word, Excel and PowerPoint (OfficeRecentsReader): at most one
// entry each. Read only where the per-application record folder can be listed. Each list is
// watched; clearing deletes the application's list.
class OfficeSource final : public RecentSource
{
public:
    QList<RecentApp> read() override;
    QList<WatchedPath> watchedPaths() const override;
    bool owns(const RecentApp& app) const override;
};
