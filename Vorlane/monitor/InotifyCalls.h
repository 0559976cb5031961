#pragma once

#include <cstddef>
#include <cstdint>
#include <sys/types.h>

// The kernel calls the file monitor makes, one virtual function each, so that tests can make
// them fail (a full watch table, no instances left) or feed the reader events it cannot
// provoke on demand. The default implementation calls the kernel.
class InotifyCalls
{
public:
    virtual ~InotifyCalls() = default;

    // Each returns what the system call returns and leaves errno as it sets it.
    virtual int init(int flags);
    virtual int addWatch(int fd, const char* path, std::uint32_t mask);
    virtual int removeWatch(int fd, int wd);
    virtual ssize_t read(int fd, void* buffer, std::size_t size);
};
