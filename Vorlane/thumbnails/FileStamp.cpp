#include "FileStamp.h"

#include <QFile>

#include <sys/stat.h>

std::optional<FileStamp> FileStamp::of(const QString& path)
{
    struct stat status
    {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0 ||
        !S_ISREG(status.st_mode))
        return std::nullopt;
    FileStamp stamp;
    stamp.m_device = status.st_dev;
    stamp.m_inode = status.st_ino;
    stamp.m_size = status.st_size;
    stamp.m_modifiedSeconds = status.st_mtim.tv_sec;
    stamp.m_modifiedNanoseconds = status.st_mtim.tv_nsec;
    return stamp;
}
