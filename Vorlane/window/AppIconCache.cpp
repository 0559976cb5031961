#include "AppIconCache.h"

#include "ImageNamed.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QString genericApplication = QStringLiteral("application-x-executable");

// Icons missing from the user's theme are looked for in a complete one, and bare image names
// in the pixmaps folders, as desktops do.
void prepareThemeLookups()
{
    if (QIcon::fallbackThemeName().isEmpty())
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    QStringList pixmapFolders = QIcon::fallbackSearchPaths();
    for (const QString& data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        const QString folder = data + QStringLiteral("/pixmaps");
        if (!pixmapFolders.contains(folder) && QFileInfo::exists(folder))
            pixmapFolders.append(folder);
    }
    QIcon::setFallbackSearchPaths(pixmapFolders);
}

QIcon themeIcon(const QString& name)
{
    QIcon icon = QIcon::fromTheme(name);
    // Some entries name their icon with an image suffix ("app.png"), which themes never have.
    if (icon.isNull() && name.contains(u'.')) {
        const QString suffix = QFileInfo(name).suffix().toLower();
        if (suffix == u"png" || suffix == u"svg" || suffix == u"xpm")
            icon = QIcon::fromTheme(QFileInfo(name).completeBaseName());
    }
    return icon;
}
} // namespace

AppIconCache::AppIconCache()
{
    prepareThemeLookups();
}

AppIconCache& AppIconCache::shared()
{
    static AppIconCache cache;
    return cache;
}

QIcon AppIconCache::icon(const QString& iconName)
{
    if (const auto found = m_icons.constFind(iconName); found != m_icons.cend())
        return *found;
    ++m_lookups;
    QIcon icon = lookUp(iconName);
    m_icons.insert(iconName, icon);
    return icon;
}

QIcon AppIconCache::lookUp(const QString& iconName) const
{
    QIcon icon;
    if (QDir::isAbsolutePath(iconName)) {
        if (QFileInfo(iconName).isFile())
            icon = QIcon(iconName);
    } else if (!iconName.isEmpty()) {
        icon = themeIcon(iconName);
    }
    if (icon.isNull())
        icon = QIcon::fromTheme(genericApplication);
    if (icon.isNull())
        icon = imageNamed(QStringLiteral("GenericApplication"));
    return icon;
}

QPixmap AppIconCache::pixmap(const QString& iconName, int size, qreal devicePixelRatio)
{
    const QString key =
        iconName + u'\n' + QString::number(size) + u'@' + QString::number(devicePixelRatio);
    if (const auto found = m_pixmaps.constFind(key); found != m_pixmaps.cend())
        return *found;
    QPixmap pixmap = icon(iconName).pixmap(QSize(size, size), devicePixelRatio);
    m_pixmaps.insert(key, pixmap);
    return pixmap;
}

void AppIconCache::clear()
{
    m_icons.clear();
    m_pixmaps.clear();
}
