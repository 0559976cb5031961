#include "FileStatus.h"

#include <QFile>
#include <QVarLengthArray>

#include <sys/stat.h>

namespace {
struct Remembered
{
    QString path;
    std::optional<QDateTime> modified;
};

thread_local Remembered remembered;

// The path as the C string stat() takes; none when it holds a NUL, which no file's path does
// (the C string would name another file). ASCII, most paths, is copied onto the stack.
bool encode(const QString& path, QVarLengthArray<char, 512>& out)
{
    out.resize(path.size() + 1);
    char* byte = out.data();
    for (const QChar c : path) {
        if (c.unicode() >= 0x80) {
            const QByteArray encoded = QFile::encodeName(path);
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

std::optional<QDateTime> statModificationTime(const QString& path)
{
    struct stat info
    {};
    QVarLengthArray<char, 512> name;
    if (path.isEmpty() || !encode(path, name) || ::stat(name.constData(), &info) != 0)
        return std::nullopt;
    const qint64 ms = qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}
} // namespace

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
