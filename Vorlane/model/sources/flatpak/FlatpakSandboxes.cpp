#include "FlatpakSandboxes.h"

#include "DocumentPortalStore.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {
const QString& historyFileName()
{
    static const QString name = QStringLiteral("recently-used.xbel");
    return name;
}

// Folders the sandbox gets from its runtime or makes up itself, never the host's.
bool isSandboxOwnPath(const QString& path)
{
    // Removable media are the host's, at the same place, for sandboxes allowed to see them.
    if (path.startsWith(QStringLiteral("/run/media/")))
        return false;
    static const QStringList prefixes{
        QStringLiteral("/app/"),  QStringLiteral("/usr/"),     QStringLiteral("/run/"),
        QStringLiteral("/proc/"), QStringLiteral("/sys/"),     QStringLiteral("/dev/"),
        QStringLiteral("/etc/"),  QStringLiteral("/newroot/"),
    };
    return std::any_of(prefixes.cbegin(), prefixes.cend(),
                       [&path](const QString& prefix) { return path.startsWith(prefix); });
}
} // namespace

namespace FlatpakSandboxes {
QString appsFolder()
{
    return QDir::homePath() + QStringLiteral("/.var/app");
}

QString historyPath(const QString& appId)
{
    return appsFolder() + u'/' + appId + QStringLiteral("/data/") + historyFileName();
}

QList<History> histories()
{
    QList<History> found;
    const QStringList appIds =
        QDir(appsFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QString& appId : appIds) {
        const QString path = historyPath(appId);
        if (QFileInfo(path).isFile())
            found.append({appId, path});
    }
    return found;
}

QString appIdOfHistory(const QString& path)
{
    const QString clean = QDir::cleanPath(path);
    const QString prefix = appsFolder() + u'/';
    if (!clean.startsWith(prefix))
        return {};
    const QString appId = clean.mid(prefix.size()).section(u'/', 0, 0);
    return !appId.isEmpty() && clean == historyPath(appId) ? appId : QString();
}

QString hostPathOf(const QString& sandboxPath, const DocumentPortalStore& portal)
{
    if (DocumentPortalStore::isPortalPath(sandboxPath))
        return portal.hostPathOf(sandboxPath);
    if (sandboxPath.isEmpty() || isSandboxOwnPath(sandboxPath))
        return {};
    return sandboxPath;
}
} // namespace FlatpakSandboxes
