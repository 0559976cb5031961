#include "FileIdentity.h"

#include <sys/stat.h>

namespace {
qint64 nanoseconds(const timespec& time)
{
    return qint64(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}
} // namespace

std::optional<FileIdentity> FileIdentity::of(const QByteArray& encodedPath)
{
    struct stat info
    {};
    if (::stat(encodedPath.constData(), &info) != 0)
        return std::nullopt;
    return of(info);
}

FileIdentity FileIdentity::of(const struct stat& status)
{
    return FileIdentity{status.st_dev,
                        status.st_ino,
                        status.st_size,
                        nanoseconds(status.st_mtim),
                        nanoseconds(status.st_ctim),
                        status.st_mode};
}

bool FileIdentity::isRegularFile() const
{
    return S_ISREG(mode);
}
