#pragma once

#include <QString>

#include <stdexcept>

// Why the file monitor could not watch its folders, in words a user can act on
// ("watch limit reached (fs.inotify.max_user_watches): No space left on device").
class FileMonitorError : public std::runtime_error
{
public:
    explicit FileMonitorError(const QString& reason);
    // The reason for a failed system call, with errno's own text appended.
    static FileMonitorError fromErrno(const QString& what, int error);
};
