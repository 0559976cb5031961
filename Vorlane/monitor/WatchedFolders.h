#pragma once

#include "FileChange.h"
#include "InotifyEvent.h"
#include "WatchedPath.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <cstdint>
#include <map>
#include <optional>
#include <sys/types.h>
#include <vector>

class InotifyCalls;

// The inotify watches of one monitor and what their events mean. Every target is watched through
// a folder: a watched folder for its files with the name suffix (listed when the folder appears,
// reported as the folder itself when it goes), a watched file through the folder holding it (its
// writers replace it by rename, so the folder is watched, not the file). Targets written in place
// also report their writes before the close. A folder that does not exist is waited for on its
// nearest existing ancestor; one that goes away is waited for again. Nothing is watched
// recursively: at most one watch per folder. Not thread-safe: after arming, only the monitor's
// reader thread uses it.
class WatchedFolders
{
public:
    // Paths absolute and clean.
    WatchedFolders(InotifyCalls& calls, int inotifyFd, QList<WatchedPath> targets);

    // Adds, moves or drops watches until they match the folders on disk. Throws
    // FileMonitorError when the kernel refuses a watch for any reason other than the folder
    // vanishing meanwhile.
    void arm();

    // The files one batch of events changed, in event order. Finished changes are one handler
    // call each; writes to a file still open are marked as such, for WriteBursts to gather.
    // Folders appearing or going are followed here too. A lost event queue is reported as the
    // first target: the handler then reads everything again.
    std::vector<FileChange> handle(const std::vector<InotifyEvent>& events);

    // The watch descriptor on a folder, or -1 when the folder is not watched.
    int watchOn(const QString& folder) const;
    std::vector<QString> watchedFolders() const;

private:
    struct FileId
    {
        dev_t device = 0;
        ino_t inode = 0;
        bool operator==(const FileId&) const = default;
    };
    struct Watch
    {
        QString folder;
        std::uint32_t mask = 0;
        // Which directory the watch was put on, to notice when another one takes its path.
        FileId id;
    };
    using FolderIds = std::vector<std::optional<FileId>>;

    static std::optional<FileId> fileIdOf(const QString& path);
    std::map<QString, std::uint32_t> wantedWatches() const;
    bool dropStaleWatches(const std::map<QString, std::uint32_t>& wanted);
    bool addWantedWatches(const std::map<QString, std::uint32_t>& wanted);
    std::optional<FileId> heldIdOf(const QString& folder) const;
    FolderIds heldTargetFolderIds() const;
    bool take(const InotifyEvent& event, std::vector<FileChange>& changed);
    bool isReported(const QString& folder, const InotifyEvent& event) const;
    bool leadsToTarget(const QString& path) const;
    void rearm(const FolderIds& before, std::vector<FileChange>& changed);
    static void reportMovedFolder(const WatchedPath& target, bool wasWatched, bool isWatched,
                                  std::vector<FileChange>& changed);
    static void appendFolderFiles(const WatchedPath& target, std::vector<FileChange>& changed);

    InotifyCalls& m_calls;
    int m_fd;
    QList<WatchedPath> m_targets;
    std::map<int, Watch> m_watches;
    bool m_armFailed = false;
};
