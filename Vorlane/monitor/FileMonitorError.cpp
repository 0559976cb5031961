#include "FileMonitorError.h"

#include <cerrno>
#include <cstring>

namespace {
// The errors a user can fix by raising a limit name the limit.
QString limitHint(int error)
{
    switch (error) {
    case ENOSPC:
        return QStringLiteral("watch limit reached (fs.inotify.max_user_watches): ");
    case EMFILE:
        return QStringLiteral("instance limit reached (fs.inotify.max_user_instances): ");
    case ENFILE:
        return QStringLiteral("open file limit reached: ");
    default:
        return {};
    }
}
} // namespace

FileMonitorError::FileMonitorError(const QString& reason)
    : std::runtime_error(reason.toStdString())
{}

FileMonitorError FileMonitorError::fromErrno(const QString& what, int error)
{
    return FileMonitorError(what + QStringLiteral(": ") + limitHint(error) +
                            QString::fromLocal8Bit(std::strerror(error)));
}
