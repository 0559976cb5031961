#pragma once

#include <unistd.h>
#include <utility>

// Owns a file descriptor and closes it when it goes.
class ScopedDescriptor
{
public:
    ScopedDescriptor() = default;
    explicit ScopedDescriptor(int fd)
        : m_fd(fd)
    {}
    ~ScopedDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    ScopedDescriptor(ScopedDescriptor&& other) noexcept
        : m_fd(std::exchange(other.m_fd, -1))
    {}
    ScopedDescriptor& operator=(ScopedDescriptor&& other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    ScopedDescriptor(const ScopedDescriptor&) = delete;
    ScopedDescriptor& operator=(const ScopedDescriptor&) = delete;

    int get() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};
