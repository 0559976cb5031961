#pragma once

#include "RecentSource.h"

// Plasma's activity manager's per-application history (ActivityDatabaseReader): an entry per
// installed application with documents in it. The database belongs to the running daemon, which
// would undo or refuse any change written under it: Vorlane never writes it, and clearing says so.
// Watched through the database and its write-ahead log, which the daemon writes in place.
class ActivityManagerSource final : public RecentSource
{
public:
    QList<RecentApp> read() override;
    QList<WatchedPath> watchedPaths() const override;
    bool owns(const RecentApp& app) const override;
    Clearing clearing() const override { return Clearing::keptByItsOwner; }
    QString notClearedBecause() const override;
};
