#include "FileStatus.h"

#include <QFile>

#include <sys/stat.h>

namespace {
struct Remembered
{
    QString path;
    std::optional<QDateTime> modified;
};

thread_local Remembered remembered;

std::optional<QDateTime> statModificationTime(const QString& path)
{
    struct stat info
    {};
    // No file's path holds a NUL; the C string would name another file.
    if (path.isEmpty() || path.contains(QChar(0)) ||
        ::stat(QFile::encodeName(path).constData(), &info) != 0)
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
