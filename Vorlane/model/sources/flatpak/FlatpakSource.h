#pragma once

#include "DocumentPortalStore.h"
#include "RecentSource.h"

// The recent documents Flatpak applications keep in their sandboxes (FlatpakSandboxes): an entry
// per sandbox with documents the host can reach, under the application's exported desktop entry.
// Every registration in a sandbox's file is the application's own, so clearing empties the file's
// registrations, and one document can be taken out of it, by the shared file's careful editor.
//
// Documents handed over by the document portal are listed by their host path when the portal's
// database knows them (DocumentPortalStore), read again only when it changed.
//
// Identity: filePath is the sandbox file's URL with the app id as fragment.
class FlatpakSource final : public RecentSource
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

private:
    DocumentPortalStore portal_;
};
