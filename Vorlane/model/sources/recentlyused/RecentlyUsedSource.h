#pragma once

#include "RecentApp.h"
#include "RecentSource.h"
#include "RecentlyUsedFile.h"

#include <QList>
#include <QString>
#include <QUrl>

class DesktopApplicationIndex;

// The desktop's shared record of recently used documents, written by GTK, GNOME and KDE
// applications: recently-used.xbel in the user's data folder.
QString recentlyUsedFilePath();

// The shared recently-used file as a source: its file is read once per rebuild, in prepare(),
// both to date the documents of every source (RecentlyUsedMetadata) and for its own entries
// (readRecentlyUsedEntries). Its writers replace the file by rename. Clearing removes the
// application's registrations and keeps everyone else's.
class RecentlyUsedSource final : public RecentSource
{
public:
    void prepare() override;
    QList<RecentApp> read() override;
    QList<WatchedPath> watchedPaths() const override;
    bool owns(const RecentApp& app) const override;
    Clearing clearing() const override { return Clearing::removeRegistrations; }
    bool removeRegistrations(const RecentApp& app, QString* error) const override;
    // One document comes out of the entry's application's registrations; the other applications'
    // registrations of it stay.
    bool canRemoveDocument(const RecentApp& app) const override;
    bool removeDocument(const RecentApp& app, const RecentFile& file,
                        QString* error) const override;

private:
    RecentlyUsedFile m_file;
};

// The shared recently-used file as a source of the list: one entry per installed application
// that registered at least one document that still exists.
//
// Several names in the file that stand for one installed application (GTK's "Text Editor" and
// KDE's "org.gnome.TextEditor") give one entry; a document both registered is dated by the newer
// stamp. Each document is dated by its application's own stamp for it, newest first, with date
// headings; the entry's dateModified is the newest of those stamps. Only file: documents that
// exist are shown, each looked at once. Private bookmarks are shown under the applications that
// registered them, and only there.
//
// Identity: filePath is the file's URL with the desktop id as fragment
// (file:///home/u/.local/share/recently-used.xbel#org.gnome.eog) and name is its text, the same
// across rebuilds and different for every application; filePath.toLocalFile() is the file.
QList<RecentApp> readRecentlyUsedEntries(const RecentlyUsedFile& file);
QList<RecentApp> readRecentlyUsedEntries(const RecentlyUsedFile& file,
                                         DesktopApplicationIndex& index);

// The filePath of the entry for desktopId in the recently-used file at xbelPath.
QUrl recentlyUsedEntryUrl(const QString& xbelPath, const QString& desktopId);
// The desktop id an entry's filePath names when the entry came from a recently-used file; empty
// for entries of other sources.
QString recentlyUsedDesktopId(const QUrl& entryFilePath);
// Clears such an entry: RecentlyUsedFile::removeApplication on its file and desktop id. False,
// with *error set, for a filePath of another source.
bool clearRecentlyUsedEntry(const QUrl& entryFilePath, QString* error);
