#pragma once

#include "RecentApp.h"
#include "WatchedPath.h"

#include <QList>
#include <QString>

// One place where applications keep their recent documents: the entries it gives the list, the
// files and folders the monitor watches for it, and how an entry of it is cleared. Every source
// lives in a folder of its own under sources/; the store lists them all in RecentSources.
//
// A rebuild makes its own sources, prepares them all, then reads them one after the other. The
// monitor and the clearing use sources of their own, so a source may keep what prepare() read
// for its read() without any locking.
class RecentSource
{
public:
    // What clearing an entry of this source does.
    enum class Clearing
    {
        // Deletes the whole file the entry was read from: the file holds nothing else.
        deleteRecordFile,
        // Takes the entry's application out of a file other applications share, and keeps
        // everything else in it.
        removeRegistrations,
        // Nothing: the store belongs to a running program that would write it again (Plasma's
        // activity manager); notClearedBecause() says so.
        keptByItsOwner,
    };

    RecentSource() = default;
    virtual ~RecentSource();
    RecentSource(const RecentSource&) = delete;
    RecentSource& operator=(const RecentSource&) = delete;

    // Reads, once per rebuild and before any source's read(), what other sources use too (the
    // shared recently-used file dates the documents of every source).
    virtual void prepare() {}
    // The source's entries, each with at least one document that exists, in the order found.
    virtual QList<RecentApp> read() = 0;
    // The files and folders whose changes change what read() gives.
    virtual QList<WatchedPath> watchedPaths() const = 0;
    // Whether the entry came from this source.
    virtual bool owns(const RecentApp& app) const = 0;

    virtual Clearing clearing() const { return Clearing::deleteRecordFile; }
    // For Clearing::keptByItsOwner: why Vorlane leaves the entry's history as it is.
    virtual QString notClearedBecause() const { return {}; }
    // For Clearing::removeRegistrations: takes the entry's application out of its file. False,
    // with *error set, when the file was left as it was.
    virtual bool removeRegistrations(const RecentApp& app, QString* error) const;

    // Whether one document can be taken out of an entry's history, leaving the rest of it.
    virtual bool canRemoveDocument(const RecentApp& app) const;
    // Takes the document out; false, with *error set, when nothing was changed.
    virtual bool removeDocument(const RecentApp& app, const RecentFile& file, QString* error) const;

    // Whether filePath is one of the watched files or one of the watched folders' files.
    bool watches(const QString& filePath) const;
};
