#include "InotifyCalls.h"

#include <sys/inotify.h>
#include <unistd.h>

int InotifyCalls::init(int flags)
{
    return inotify_init1(flags);
}

int InotifyCalls::addWatch(int fd, const char* path, std::uint32_t mask)
{
    return inotify_add_watch(fd, path, mask);
}

int InotifyCalls::removeWatch(int fd, int wd)
{
    return inotify_rm_watch(fd, wd);
}

ssize_t InotifyCalls::read(int fd, void* buffer, std::size_t size)
{
    return ::read(fd, buffer, size);
}
