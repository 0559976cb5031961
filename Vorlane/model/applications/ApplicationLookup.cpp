#include "ApplicationLookup.h"

#include "DesktopApplicationIndex.h"

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
    // The index knows every entry by its desktop id, those in subfolders included, and applies
    // the rule that the first entry with an id decides, even one that hides the application.
    DesktopApplicationIndex& index = DesktopApplicationIndex::shared();
    index.refresh();
    return index.findById(bundleIdentifier).path;
}
