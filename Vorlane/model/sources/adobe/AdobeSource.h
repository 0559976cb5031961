#pragma once

#include "RecentSource.h"

// The Adobe media browser's preference file (AdobeRecentsReader): an entry per installed Adobe
// application it lists. Read only where the per-application record folder can be listed. The file
// is watched. Every Adobe application keeps its list in that one file, so clearing one takes only
// its own list out of it (AdobePreferenceEditor).
class AdobeSource final : public RecentSource
{
public:
    QList<RecentApp> read() override;
    QList<WatchedPath> watchedPaths() const override;
    bool owns(const RecentApp& app) const override;
    Clearing clearing() const override { return Clearing::removeRegistrations; }
    bool removeRegistrations(const RecentApp& app, QString* error) const override;
};
