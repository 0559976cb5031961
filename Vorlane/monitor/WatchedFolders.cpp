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
// Files written in place by a writer that keeps them open: their writes count before the close.
// Files only ever replaced do without.
std::uint32_t writesOf(const WatchedPath& target)
{
    return target.writtenInPlace ? IN_MODIFY : 0;
}
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

WatchedFolders::WatchedFolders(InotifyCalls& calls, int inotifyFd, QList<WatchedPath> targets)
    : m_calls(calls)
    , m_fd(inotifyFd)
    , m_targets(std::move(targets))
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
    const FolderIds before = heldTargetFolderIds();
    std::vector<FileChange> changed;
    // After a failed arming any event is a chance to try again.
    bool foldersMoved = m_armFailed;
    for (const InotifyEvent& event : events)
        foldersMoved |= take(event, changed);
    if (foldersMoved)
        rearm(before, changed);
    return changed;
}

// Lists what one event changed; true when the watches may have to follow folders.
bool WatchedFolders::take(const InotifyEvent& event, std::vector<FileChange>& changed)
{
    if (event.mask & IN_Q_OVERFLOW) {
        if (!m_targets.isEmpty())
            changed.push_back({QUrl::fromLocalFile(m_targets.constFirst().path)});
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
    for (const WatchedPath& target : m_targets) {
        const QString folder = target.folderToWatch();
        const QString existing = nearestExistingFolder(folder);
        if (existing != folder)
            wanted[existing] |= ancestorMask;
        else
            wanted[existing] |= folderMask | writesOf(target);
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

// Which directory holds each target's folder now, in target order.
WatchedFolders::FolderIds WatchedFolders::heldTargetFolderIds() const
{
    FolderIds ids;
    ids.reserve(static_cast<std::size_t>(m_targets.size()));
    for (const WatchedPath& target : m_targets)
        ids.push_back(heldIdOf(target.folderToWatch()));
    return ids;
}

bool WatchedFolders::isReported(const QString& folder, const InotifyEvent& event) const
{
    if (event.mask & IN_ISDIR)
        return false;
    for (const WatchedPath& target : m_targets) {
        if (target.folderToWatch() == folder && (event.mask & (entryChanges | writesOf(target))) &&
            target.coversName(event.name))
            return true;
    }
    return false;
}

// Whether a path is one of the watched folders, or a folder on the way to one.
bool WatchedFolders::leadsToTarget(const QString& path) const
{
    const QString prefix = childPath(path, QString());
    for (const WatchedPath& target : m_targets) {
        const QString folder = target.folderToWatch();
        if (path == folder || folder.startsWith(prefix))
            return true;
    }
    return false;
}

void WatchedFolders::rearm(const FolderIds& before, std::vector<FileChange>& changed)
{
    try {
        arm();
        m_armFailed = false;
    } catch (const FileMonitorError& error) {
        m_armFailed = true;
        Diagnostics::write(QStringLiteral("Error: ") + QString::fromUtf8(error.what()));
    }
    const FolderIds after = heldTargetFolderIds();
    for (qsizetype i = 0; i < m_targets.size(); ++i) {
        const auto index = static_cast<std::size_t>(i);
        if (after[index] != before[index])
            reportMovedFolder(m_targets.at(i), before[index].has_value(), after[index].has_value(),
                              changed);
    }
}

// A target's folder was watched, or is watched now, as another directory than before. What it
// held may have changed without an event: a watched folder that went is read again whole, one
// that came is listed file by file; a watched file is read again if it may have changed.
void WatchedFolders::reportMovedFolder(const WatchedPath& target, bool wasWatched, bool isWatched,
                                       std::vector<FileChange>& changed)
{
    if (target.kind == WatchedPath::Kind::file) {
        if (wasWatched || QFileInfo::exists(target.path))
            changed.push_back({QUrl::fromLocalFile(target.path)});
        return;
    }
    if (wasWatched)
        changed.push_back({QUrl::fromLocalFile(target.path)});
    if (isWatched)
        appendFolderFiles(target, changed);
}

// Files already in a folder that has just appeared (made elsewhere and moved in, or written
// before the watch took hold) would otherwise never be reported.
void WatchedFolders::appendFolderFiles(const WatchedPath& target, std::vector<FileChange>& changed)
{
    // Filtered here rather than by a name filter, which would ignore case.
    const QDir folder(target.path);
    const QStringList names =
        folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : names) {
        if (target.coversName(name))
            changed.push_back({QUrl::fromLocalFile(folder.filePath(name))});
    }
}
