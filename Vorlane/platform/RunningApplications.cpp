#include "RunningApplications.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace {
bool ownedByUser(const QString& processFolder)
{
    struct stat info
    {};
    return ::stat(QFile::encodeName(processFolder).constData(), &info) == 0 &&
           info.st_uid == ::getuid();
}

QString processName(const QString& processFolder)
{
    QFile comm(processFolder + QStringLiteral("/comm"));
    if (!comm.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(comm.readAll()).trimmed();
}
} // namespace

bool RunningApplications::isRunning(const QString& name)
{
    // The kernel keeps the first 15 bytes of a process name.
    const QString wanted = name.left(15);
    const QStringList processes = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : processes) {
        bool isNumber = false;
        entry.toInt(&isNumber);
        if (!isNumber)
            continue;
        const QString folder = QStringLiteral("/proc/") + entry;
        if (processName(folder) == wanted && ownedByUser(folder))
            return true;
    }
    return false;
}
