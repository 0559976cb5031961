#include "ApplicationFolders.h"

#include <QDir>

namespace {
QString dataHome()
{
    const QString configured = qEnvironmentVariable("XDG_DATA_HOME");
    if (QDir::isAbsolutePath(configured))
        return configured;
    return QDir::homePath() + QStringLiteral("/.local/share");
}

QStringList dataDirs()
{
    QStringList dirs;
    const QString configured = qEnvironmentVariable("XDG_DATA_DIRS");
    for (const QString& dir : configured.split(u':', Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(dir))
            dirs << dir;
    if (dirs.isEmpty())
        dirs << QStringLiteral("/usr/local/share") << QStringLiteral("/usr/share");
    return dirs;
}
} // namespace

QStringList applicationFolders()
{
    // Flatpak exports its applications' entries here; its login script adds these folders to
    // XDG_DATA_DIRS, which a session started otherwise may lack.
    QStringList folders{
        QDir::cleanPath(dataHome() + QStringLiteral("/applications")),
        QDir::cleanPath(dataHome() + QStringLiteral("/flatpak/exports/share/applications")),
        QStringLiteral("/var/lib/flatpak/exports/share/applications")};
    for (const QString& dir : dataDirs())
        folders << QDir::cleanPath(dir + QStringLiteral("/applications"));
    folders.removeDuplicates();
    return folders;
}
