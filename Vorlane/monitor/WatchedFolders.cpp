#include "WatchedFolders.h"

#include "Diagnostics.h"
#include "FileMonitorError.h"
#include "InotifyCalls.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/inotify.h>
#include <sys/stat.h>

namespace {
constexpr std::uint32_t entryChanges =
    IN_CREATE | IN_DELETE | IN_CLOSE_WRITE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr std::uint32_t entryArrivesOrGoes = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr std::uint32_t selfChanges = IN_DELETE_SELF | IN_MOVE_SELF;
constexpr std::uint32_t watchGone = selfChanges | IN_IGNORED | IN_UNMOUNT;
// A watched folder reports every change of its entries.
constexpr std::uint32_t folderMask = entryChanges | selfChanges | IN_ONLYDIR;
// Records may also be written in place by a writer that keeps them open: their writes count
// before the close. recently-used.xbel is only ever replaced, so the data folder does without.
constexpr std::uint32_t recordFolderMask = folderMask | IN_MODIFY;
// An ancestor only has to show the next folder arriving; files written there would wake the
// reader for nothing (the ancestor may be the home folder).
constexpr std::uint32_t ancestorMask = IN_CREATE | IN_MOVED_TO | selfChanges | IN_ONLYDIR;
// Arming repeats while folders come or go under it; past this it waits for the next event.
constexpr int maxArmRounds = 16;

QString nearestExistingFolder(QString path)
{
    while (!QFileInfo(path).isDir()) {
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            break;
        path = parent;
    }
    return path;
}

QString childPath(const QString& folder, const QString& name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}
} // namespace

WatchedFolders::WatchedFolders(InotifyCalls& calls, int inotifyFd, const Targets& targets)
    : m_calls(calls)
    , m_fd(inotifyFd)
    , m_recordFolder(targets.recordFolder)
    , m_recordSuffix(targets.recordSuffix)
    , m_dataFolder(QFileInfo(targets.recentlyUsedFile).path())
    , m_recentlyUsedName(QFileInfo(targets.recentlyUsedFile).fileName())
{}

void WatchedFolders::arm()
{
    for (int round = 0; round < maxArmRounds; ++round) {
        const auto wanted = wantedWatches();
        const bool dropped = dropStaleWatches(wanted);
        const bool added = addWantedWatches(wanted);
        if (!dropped && !added)
            return;
    }
}

std::vector<FileChange> WatchedFolders::handle(const std::vector<InotifyEvent>& events)
{
    const auto recordBefore = heldIdOf(m_recordFolder);
    const auto dataBefore = heldIdOf(m_dataFolder);
    std::vector<FileChange> changed;
    // After a failed arming any event is a chance to try again.
    bool foldersMoved = m_armFailed;
    for (const InotifyEvent& event : events)
        foldersMoved |= take(event, changed);
    if (foldersMoved)
        rearm(recordBefore, dataBefore, changed);
    return changed;
}

// Lists what one event changed; true when the watches may have to follow folders.
bool WatchedFolders::take(const InotifyEvent& event, std::vector<FileChange>& changed)
{
    if (event.mask & IN_Q_OVERFLOW) {
        changed.push_back({QUrl::fromLocalFile(m_recordFolder)});
        return true;
    }
    const auto watch = m_watches.find(event.wd);
    if (watch == m_watches.end())
        return false;
    if (event.mask & watchGone) {
        if (event.mask & IN_IGNORED)
            m_watches.erase(watch);
        return true;
    }
    if (event.name.isEmpty())
        return false;
    const QString path = childPath(watch->second.folder, event.name);
    if (isReported(watch->second.folder, event))
        changed.push_back({QUrl::fromLocalFile(path), (event.mask & IN_MODIFY) != 0});
    return (event.mask & entryArrivesOrGoes) && leadsToTarget(path);
}

int WatchedFolders::watchOn(const QString& folder) const
{
    for (const auto& [wd, watch] : m_watches) {
        if (watch.folder == folder)
            return wd;
    }
    return -1;
}

std::vector<QString> WatchedFolders::watchedFolders() const
{
    std::vector<QString> folders;
    for (const auto& entry : m_watches)
        folders.push_back(entry.second.folder);
    return folders;
}

std::optional<WatchedFolders::FileId> WatchedFolders::fileIdOf(const QString& path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FileId{status.st_dev, status.st_ino};
}

std::map<QString, std::uint32_t> WatchedFolders::wantedWatches() const
{
    std::map<QString, std::uint32_t> wanted;
    for (const QString& folder : {m_recordFolder, m_dataFolder}) {
        const QString existing = nearestExistingFolder(folder);
        if (existing != folder)
            wanted[existing] |= ancestorMask;
        else
            wanted[existing] |= folder == m_recordFolder ? recordFolderMask : folderMask;
    }
    return wanted;
}

// Drops watches on folders no longer wanted and on directories that left their path (moved
// away, or deleted and replaced by another).
bool WatchedFolders::dropStaleWatches(const std::map<QString, std::uint32_t>& wanted)
{
    bool dropped = false;
    for (auto it = m_watches.begin(); it != m_watches.end();) {
        const Watch& watch = it->second;
        if (wanted.contains(watch.folder) && fileIdOf(watch.folder) == watch.id) {
            ++it;
            continue;
        }
        // Fails harmlessly when the kernel already dropped the watch with its directory.
        m_calls.removeWatch(m_fd, it->first);
        it = m_watches.erase(it);
        dropped = true;
    }
    return dropped;
}

bool WatchedFolders::addWantedWatches(const std::map<QString, std::uint32_t>& wanted)
{
    bool added = false;
    for (const auto& [folder, mask] : wanted) {
        const int held = watchOn(folder);
        if (held >= 0 && m_watches.at(held).mask == mask)
            continue;
        added = true;
        // Identified before watching: if the folder is replaced in between, the next round
        // sees the id differ and watches again.
        const auto id = fileIdOf(folder);
        if (!id)
            continue;
        const int wd = m_calls.addWatch(m_fd, QFile::encodeName(folder).constData(), mask);
        if (wd < 0) {
            const int error = errno;
            if (error == ENOENT || error == ENOTDIR)
                continue;
            throw FileMonitorError::fromErrno(QStringLiteral("Cannot watch ") + folder, error);
        }
        m_watches[wd] = Watch{folder, mask, *id};
    }
    return added;
}

std::optional<WatchedFolders::FileId> WatchedFolders::heldIdOf(const QString& folder) const
{
    const int wd = watchOn(folder);
    if (wd < 0)
        return std::nullopt;
    return m_watches.at(wd).id;
}

bool WatchedFolders::isReported(const QString& folder, const InotifyEvent& event) const
{
    if (event.mask & IN_ISDIR)
        return false;
    if (folder == m_recordFolder)
        return (event.mask & (entryChanges | IN_MODIFY)) && event.name.endsWith(m_recordSuffix);
    return folder == m_dataFolder && (event.mask & entryChanges) &&
           event.name == m_recentlyUsedName;
}

// Whether a path is one of the folders, or a folder on the way to one.
bool WatchedFolders::leadsToTarget(const QString& path) const
{
    const QString prefix = childPath(path, QString());
    return path == m_recordFolder || path == m_dataFolder || m_recordFolder.startsWith(prefix) ||
           m_dataFolder.startsWith(prefix);
}

void WatchedFolders::rearm(std::optional<FileId> recordBefore, std::optional<FileId> dataBefore,
                           std::vector<FileChange>& changed)
{
    try {
        arm();
        m_armFailed = false;
    } catch (const FileMonitorError& error) {
        m_armFailed = true;
        Diagnostics::write(QStringLiteral("Error: ") + QString::fromUtf8(error.what()));
    }
    const auto recordAfter = heldIdOf(m_recordFolder);
    if (recordAfter != recordBefore) {
        if (recordBefore)
            changed.push_back({QUrl::fromLocalFile(m_recordFolder)});
        if (recordAfter)
            appendRecordFiles(changed);
    }
    const auto dataAfter = heldIdOf(m_dataFolder);
    const QString recentlyUsedFile = childPath(m_dataFolder, m_recentlyUsedName);
    if (dataAfter != dataBefore && (dataBefore || QFileInfo::exists(recentlyUsedFile)))
        changed.push_back({QUrl::fromLocalFile(recentlyUsedFile)});
}

// Files already in a record folder that has just appeared (made elsewhere and moved in, or
// written before the watch took hold) would otherwise never be reported.
void WatchedFolders::appendRecordFiles(std::vector<FileChange>& changed) const
{
    // Filtered here rather than by a name filter, which would ignore case.
    const QDir folder(m_recordFolder);
    const QStringList names =
        folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : names) {
        if (name.endsWith(m_recordSuffix))
            changed.push_back({QUrl::fromLocalFile(folder.filePath(name))});
    }
}
