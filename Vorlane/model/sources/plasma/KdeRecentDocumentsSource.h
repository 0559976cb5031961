#pragma once

#include "RecentSource.h"

// KDE's RecentDocuments link files (KdeRecentDocuments): an entry per installed application the
// links name. Clearing deletes that application's link files only; one document is taken out by
// deleting its link. Watched through the folder.
class KdeRecentDocumentsSource final : public RecentSource
{
public:
    QList<RecentApp> read() override;
    QList<WatchedPath> watchedPaths() const override;
    bool owns(const RecentApp& app) const override;
    Clearing clearing() const override { return Clearing::removeRegistrations; }
    bool removeRegistrations(const RecentApp& app, QString* error) const override;
    bool canRemoveDocument(const RecentApp& app) const override;
    bool removeDocument(const RecentApp& app, const RecentFile& file,
                        QString* error) const override;
};
