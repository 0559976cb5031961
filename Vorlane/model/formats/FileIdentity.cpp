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
    return FileIdentity{info.st_dev,
                        info.st_ino,
                        info.st_size,
                        nanoseconds(info.st_mtim),
                        nanoseconds(info.st_ctim),
                        info.st_mode};
}

bool FileIdentity::isRegularFile() const
{
    return S_ISREG(mode);
}
