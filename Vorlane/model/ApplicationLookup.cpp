#include "ApplicationLookup.h"

#include "DesktopEntry.h"

#include <QDir>
#include <QFileInfo>

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

bool isPlausibleIdentifier(const QString& identifier)
{
    return !identifier.isEmpty() && !identifier.contains(u'/') && !identifier.startsWith(u'.');
}
} // namespace

QStringList ApplicationLookup::applicationFolders()
{
    QStringList folders{QDir::cleanPath(dataHome() + QStringLiteral("/applications"))};
    for (const QString& dir : dataDirs())
        folders << QDir::cleanPath(dir + QStringLiteral("/applications"));
    folders.removeDuplicates();
    return folders;
}

QString ApplicationLookup::urlForApplicationWithBundleIdentifier(const QString& bundleIdentifier)
{
    if (!isPlausibleIdentifier(bundleIdentifier))
        return {};
    const QString fileName = bundleIdentifier + QStringLiteral(".desktop");
    for (const QString& folder : applicationFolders()) {
        const QString path = folder + u'/' + fileName;
        if (!QFileInfo(path).isFile())
            continue;
        // The first entry with this id decides, even when it hides the application: that is how
        // a user removes a system application from their menus.
        const std::shared_ptr<const DesktopEntry> entry = DesktopEntry::load(path);
        if (entry && (entry->isHidden() || !entry->isApplication()))
            return {};
        return path;
    }
    return {};
}
