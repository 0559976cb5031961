#pragma once

#include "FileChange.h"
#include "InotifyEvent.h"

#include <QString>
#include <QUrl>

#include <cstdint>
#include <map>
#include <optional>
#include <sys/types.h>
#include <vector>

class InotifyCalls;

// The inotify watches of one monitor and what their events mean. Two folders are of interest:
// the record folder (every file with the record suffix, written in place or replaced) and the
// user's data folder (only
// recently-used.xbel, which its writers replace by rename, so the folder is watched, not the
// file). A folder that does not exist is waited for on its nearest existing ancestor; one that
// goes away is waited for again. Nothing is watched recursively: at most one watch per folder.
// Not thread-safe: after arming, only the monitor's reader thread uses it.
class WatchedFolders
{
public:
    struct Targets
    {
        QString recordFolder;
        QString recordSuffix;
        QString recentlyUsedFile;
    };

    WatchedFolders(InotifyCalls& calls, int inotifyFd, const Targets& targets);

    // Adds, moves or drops watches until they match the folders on disk. Throws
    // FileMonitorError when the kernel refuses a watch for any reason other than the folder
    // vanishing meanwhile.
    void arm();

    // The files one batch of events changed, in event order. Finished changes are one handler
    // call each; writes to a record still open are marked as such, for WriteBursts to gather.
    // Folders appearing or going are followed here too: a record folder that appears is listed
    // file by file (its files may predate the watch), one that goes, or a lost event queue, is
    // reported as the folder itself so that everything is read again.
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

    static std::optional<FileId> fileIdOf(const QString& path);
    std::map<QString, std::uint32_t> wantedWatches() const;
    bool dropStaleWatches(const std::map<QString, std::uint32_t>& wanted);
    bool addWantedWatches(const std::map<QString, std::uint32_t>& wanted);
    std::optional<FileId> heldIdOf(const QString& folder) const;
    bool take(const InotifyEvent& event, std::vector<FileChange>& changed);
    bool isReported(const QString& folder, const InotifyEvent& event) const;
    bool leadsToTarget(const QString& path) const;
    void rearm(std::optional<FileId> recordBefore, std::optional<FileId> dataBefore,
               std::vector<FileChange>& changed);
    void appendRecordFiles(std::vector<FileChange>& changed) const;

    InotifyCalls& m_calls;
    int m_fd;
    QString m_recordFolder;
    QString m_recordSuffix;
    QString m_dataFolder;
    QString m_recentlyUsedName;
    std::map<int, Watch> m_watches;
    bool m_armFailed = false;
};
