#include "AppIconCache.h"

#include "ImageNamed.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace {
const QString genericApplication = QStringLiteral("application-x-executable");

// Complete themes to look in when the desktop names none of its own, the first installed one.
const QStringList completeThemes{QStringLiteral("Adwaita"), QStringLiteral("breeze")};
const QString hicolor = QStringLiteral("hicolor");

bool isInstalled(const QString& theme)
{
    const QStringList folders = QIcon::themeSearchPaths();
    return std::any_of(folders.cbegin(), folders.cend(), [&theme](const QString& folder) {
        return QFileInfo::exists(folder + u'/' + theme + QStringLiteral("/index.theme"));
    });
}

// The icon themes of the XDG data folders, where the platform does not search them itself.
void searchTheDataFoldersThemes()
{
    QStringList searched = QIcon::themeSearchPaths();
    for (const QString& data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        const QString folder = data + QStringLiteral("/icons");
        if (!searched.contains(folder) && QFileInfo::exists(folder))
            searched.append(folder);
    }
    QIcon::setThemeSearchPaths(searched);
}

// Outside a desktop environment Qt names no theme or only hicolor, which holds the
// applications' own icons but none of the common ones ("utilities-terminal"): every such
// application would get the same placeholder. hicolor stays the theme (applications install
// there); the first installed complete theme backs it.
void chooseThemes()
{
    searchTheDataFoldersThemes();
    if (QIcon::themeName().isEmpty() && isInstalled(hicolor))
        QIcon::setThemeName(hicolor);
    const QString fallback = QIcon::fallbackThemeName();
    if (!fallback.isEmpty() && fallback != hicolor && isInstalled(fallback))
        return;
    for (const QString& theme : completeThemes) {
        if (isInstalled(theme)) {
            QIcon::setFallbackThemeName(theme);
            return;
        }
    }
}

// Icons missing from the user's theme are looked for in a complete one, and bare image names
// in the pixmaps folders, as desktops do.
void prepareThemeLookups()
{
    chooseThemes();
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
