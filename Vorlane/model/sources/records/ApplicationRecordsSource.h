#pragma once

#include "RecentSource.h"

// The per-application records: one record file per application, named after its desktop id with
// the record suffix, in the record folder (RecordLocations). An entry per installed application
// with at least one document that still resolves, in the folder's name order, dated by its
// record file's modification. Records are written in place or replaced; clearing deletes the
// record.
class ApplicationRecordsSource final : public RecentSource
{
public:
    QList<RecentApp> read() override;
    QList<WatchedPath> watchedPaths() const override;
    bool owns(const RecentApp& app) const override;

    // Whether the record folder exists and can be listed. The Adobe and Office files are read
    // only then, as they are on the platform these records come from: both need the access the
    // record folder needs.
    static bool folderCanBeListed();
};
