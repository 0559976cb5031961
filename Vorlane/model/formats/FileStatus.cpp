#include "FileStatus.h"

#include "QuickHash.h"
#include "StringHash.h"

#include <QFile>
#include <QVarLengthArray>

#include <atomic>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

namespace {
struct Remembered
{
    QString path;
    std::optional<QDateTime> modified;
};

thread_local Remembered remembered;

// The path as the C string stat() takes; none when it holds a NUL, which no file's path does
// (the C string would name another file). ASCII, most paths, is copied onto the stack.
bool encode(QStringView path, QVarLengthArray<char, 512>& out)
{
    out.resize(path.size() + 1);
    char* byte = out.data();
    for (const QChar c : path) {
        if (c.unicode() >= 0x80) {
            const QByteArray encoded = QFile::encodeName(path.toString());
            out.clear();
            out.append(encoded.constData(), encoded.size() + 1);
            return !encoded.contains('\0');
        }
        if (c.unicode() == 0)
            return false;
        *byte++ = char(c.unicode());
    }
    *byte = '\0';
    return true;
}

// A folder the documents asked about lie in.
struct Folder
{
    // open() found nothing there, or something else than a folder: nothing inside exists.
    static constexpr int missing = -2;
    static constexpr int unusable = -1;

    int handle = unusable;
    // Opened for reading, not only to locate it: it can be listed.
    bool readable = false;
    int presenceAsks = 0;
    // A name was looked up inside: the folder may be searched, not only read.
    bool searchable = false;
    bool listed = false;
    bool unlistable = false;
    // The names listed, symbolic links and entries of unknown type left out.
    std::unordered_set<std::string, QuickHash::Bytes, std::equal_to<>> names;
};

// Handles on the folders of the documents asked about, by the folder's path.
class FolderHandles
{
public:
    FolderHandles()
        : m_pass(++passes)
    {}
    FolderHandles(const FolderHandles&) = delete;
    FolderHandles& operator=(const FolderHandles&) = delete;
    ~FolderHandles()
    {
        for (const auto& [path, folder] : m_folders)
            if (folder.handle >= 0)
                ::close(folder.handle);
    }

    // Whether stat() reaches path, asked inside its folder; none when the question is better
    // asked by the whole path (a relative path, one that ends in a slash, dot or dot-dot, a folder
    // that could not be opened for another reason than not being there).
    std::optional<bool> stat(const QString& path, struct stat& info)
    {
        return ask(path, info, false);
    }

    std::optional<bool> isPresent(const QString& path)
    {
        struct stat info
        {};
        return ask(path, info, true);
    }

    quint64 pass() const { return m_pass; }

private:
    // Well under the usual limit of 1,024 open files; further folders are asked by whole path.
    static constexpr std::size_t maximumHandles = 128;
    // A listing reads every entry of the folder: it pays only for a folder many documents lie
    // in, against one stat() per document saved. A folder's size grows with its entries on every
    // common file system (ext4 and XFS keep about a hundred names per 4 KB, Btrfs counts the
    // names' bytes, tmpfs 20 bytes an entry); a larger folder waits for more documents.
    static constexpr int minimumAsksBeforeListing = 8;
    static constexpr qint64 folderBytesPerAsk = 512;

    std::optional<bool> ask(const QString& path, struct stat& info, bool presenceOnly)
    {
        QVarLengthArray<char, 512> name;
        Folder* folder = folderOf(path, name);
        if (!folder)
            return std::nullopt;
        if (folder->handle == Folder::missing)
            return false;
        if (presenceOnly && isListed(*folder, name))
            return true;
        return statIn(*folder, name.constData(), info);
    }

    static bool isListed(Folder& folder, const QVarLengthArray<char, 512>& name)
    {
        if (!folder.listed && ++folder.presenceAsks >= minimumAsksBeforeListing)
            list(folder);
        return folder.listed &&
               folder.names.count(std::string_view(name.constData(), size_t(name.size() - 1))) != 0;
    }

    static bool statIn(Folder& folder, const char* name, struct stat& info)
    {
        const bool reached = ::fstatat(folder.handle, name, &info, 0) == 0;
        folder.searchable = folder.searchable || reached || errno == ENOENT;
        return reached;
    }

    static void list(Folder& folder)
    {
        // A name listed in a folder that cannot be searched would not be reached by stat(); a
        // handle that only locates the folder cannot list it.
        if (folder.unlistable || !folder.searchable || !folder.readable)
            return;
        const int asks = folder.presenceAsks;
        // Looked at again only as the documents double.
        if ((asks & (asks - 1)) != 0)
            return;
        struct stat info
        {};
        if (::fstat(folder.handle, &info) != 0 || info.st_size > asks * folderBytesPerAsk)
            return;
        if (!readNames(folder)) {
            folder.names.clear();
            folder.unlistable = true;
            return;
        }
        folder.listed = true;
    }

    // Reads the entries through the folder's own handle, which no other read has moved.
    static bool readNames(Folder& folder)
    {
        alignas(dirent64) char entries[8192];
        for (;;) {
            const ssize_t bytes = ::getdents64(folder.handle, entries, sizeof entries);
            if (bytes <= 0)
                return bytes == 0;
            for (ssize_t at = 0; at < bytes;) {
                const auto* entry = reinterpret_cast<const dirent64*>(entries + at);
                if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
                    folder.names.emplace(entry->d_name);
                at += entry->d_reclen;
            }
        }
    }

    // The folder of an absolute path, with its last name encoded into name.
    Folder* folderOf(const QString& path, QVarLengthArray<char, 512>& name)
    {
        const qsizetype slash = path.lastIndexOf(u'/');
        if (slash < 0 || !path.startsWith(u'/') || slash + 1 == path.size())
            return nullptr;
        const QStringView last = QStringView(path).mid(slash + 1);
        if (last == u"." || last == u".." || !encode(last, name))
            return nullptr;
        Folder* folder = folderAt(slash == 0 ? QStringView(u"/") : QStringView(path).left(slash));
        return folder && folder->handle != Folder::unusable ? folder : nullptr;
    }

    Folder* folderAt(QStringView path)
    {
        // Documents of one folder tend to come one after another.
        if (m_last && path == m_last->first)
            return &m_last->second;
        const QString key = path.toString();
        auto found = m_folders.find(key);
        if (found == m_folders.end()) {
            if (m_folders.size() >= maximumHandles)
                return nullptr;
            found = m_folders.emplace(key, Folder{}).first;
            open(path, found->second);
        }
        m_last = &*found;
        return &found->second;
    }

    static void open(QStringView path, Folder& folder)
    {
        QVarLengthArray<char, 512> encoded;
        if (!encode(path, encoded))
            return;
        // Opened for reading, so that a listing needs no second open; a folder that may be
        // searched but not read is reached through a handle that only locates it.
        folder.handle = ::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        folder.readable = folder.handle >= 0;
        if (folder.handle < 0 && errno == EACCES)
            folder.handle = ::open(encoded.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (folder.handle < 0)
            folder.handle =
                errno == ENOENT || errno == ENOTDIR ? Folder::missing : Folder::unusable;
    }

    static inline std::atomic<quint64> passes = 0;

    std::unordered_map<QString, Folder, StringHash> m_folders;
    std::pair<const QString, Folder>* m_last = nullptr;
    const quint64 m_pass;
};

thread_local FolderHandles* folderHandles = nullptr;

bool statOf(const QString& path, struct stat& info)
{
    if (path.isEmpty())
        return false;
    if (folderHandles)
        if (const std::optional<bool> reached = folderHandles->stat(path, info))
            return *reached;
    QVarLengthArray<char, 512> name;
    return encode(path, name) && ::stat(name.constData(), &info) == 0;
}

std::optional<QDateTime> statModificationTime(const QString& path)
{
    struct stat info
    {};
    if (!statOf(path, info))
        return std::nullopt;
    const qint64 ms = qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}
} // namespace

bool FileStatus::isPresent(const QString& path)
{
    if (folderHandles) {
        if (const std::optional<bool> present = folderHandles->isPresent(path)) {
            remembered = {};
            return *present;
        }
    }
    return exists(path);
}

bool FileStatus::exists(const QString& path)
{
    remembered.modified = statModificationTime(path);
    remembered.path = remembered.modified ? path : QString();
    return remembered.modified.has_value();
}

std::optional<QDateTime> FileStatus::modificationTime(const QString& path)
{
    if (remembered.modified && remembered.path == path) {
        remembered.path.clear();
        return std::exchange(remembered.modified, std::nullopt);
    }
    return statModificationTime(path);
}

quint64 FileStatus::pass()
{
    return folderHandles ? folderHandles->pass() : 0;
}

FileStatus::Batch::Batch()
{
    if (folderHandles)
        return;
    folderHandles = new FolderHandles;
    m_owns = true;
}

FileStatus::Batch::~Batch()
{
    if (m_owns) {
        delete folderHandles;
        folderHandles = nullptr;
    }
}
