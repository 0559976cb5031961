#pragma once

#include "InotifyCalls.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <sys/inotify.h>

// Real inotify calls that a test can make fail with a chosen errno, or whose next read gets a
// queue-overflow record appended, as the kernel appends one when it drops events.
class ScriptedInotifyCalls : public InotifyCalls
{
public:
    std::atomic<int> initError = 0;
    std::atomic<int> addWatchError = 0;
    std::atomic<bool> overflowOnNextRead = false;

    int init(int flags) override
    {
        if (const int error = initError) {
            errno = error;
            return -1;
        }
        return InotifyCalls::init(flags);
    }

    int addWatch(int fd, const char* path, std::uint32_t mask) override
    {
        if (const int error = addWatchError) {
            errno = error;
            return -1;
        }
        return InotifyCalls::addWatch(fd, path, mask);
    }

    ssize_t read(int fd, void* buffer, std::size_t size) override
    {
        const ssize_t length = InotifyCalls::read(fd, buffer, size);
        if (length < 0 || !overflowOnNextRead.exchange(false))
            return length;
        inotify_event overflow{};
        overflow.wd = -1;
        overflow.mask = IN_Q_OVERFLOW;
        std::memcpy(static_cast<char*>(buffer) + length, &overflow, sizeof overflow);
        return length + static_cast<ssize_t>(sizeof overflow);
    }
};
