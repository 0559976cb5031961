#include "FileIconCache.h"

#include "AppIconCache.h"

#include <QApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeDatabase>
#include <QStyle>
#include <QThreadPool>

#include <utility>

namespace {
const QString fileManagerKey = QStringLiteral("\nfile-manager");

QStringList iconNamesFor(const QMimeType& type)
{
    QStringList names{type.iconName(), type.genericIconName()};
    names << QStringLiteral("text-x-generic") << QStringLiteral("application-x-generic");
    return names;
}
} // namespace

FileIconCache::FileIconCache()
{
    // The application icons' cache sets up the theme's fallbacks; documents use the same. Without
    // a desktop naming its theme (a bare X server, the offscreen platform) no theme would be
    // searched at all: the fallback theme stands in for it.
    AppIconCache::shared();
    if (QIcon::themeName().isEmpty())
        QIcon::setThemeName(QIcon::fallbackThemeName());
}

FileIconCache& FileIconCache::shared()
{
    static FileIconCache cache;
    return cache;
}

void FileIconCache::prepareFirstLookup()
{
    static bool prepared = false;
    if (std::exchange(prepared, true))
        return;
    shared();
    // The first lookup reads the index of every theme it passes through (hicolor's is 55 KB);
    // Qt keeps them, and the icon found.
    QIcon::fromTheme(QStringLiteral("text-x-generic"));
    // The first picture Qt reads by its file name makes it load every image plug-in.
    QImageReader::supportedMimeTypes();
}

void FileIconCache::loadImagePlugInsInBackground()
{
    // Loading them (each a library with its own dependencies) takes several milliseconds. Done
    // while the window's thread is still making the window, it is over by the first lookup;
    // started any later, the lookup would wait on the loader's lock instead.
    QThreadPool::globalInstance()->start([] { QImageReader::supportedMimeTypes(); });
}

QString FileIconCache::mimeTypeName(const QString& fileName)
{
    // Names with the same suffixes have the same type ("a.tar.gz" is not "b.gz"); a few types
    // are named by whole names ("Makefile"), which must not meet a suffix of the same spelling.
    const QString suffixes = QFileInfo(fileName).completeSuffix().toLower();
    const QString key = suffixes.isEmpty() ? u'/' + fileName : suffixes;
    if (const auto found = m_mimeTypesBySuffix.constFind(key); found != m_mimeTypesBySuffix.cend())
        return *found;
    // By name only: the file's content is never read on the window's thread.
    const QList<QMimeType> types = QMimeDatabase().mimeTypesForFileName(fileName);
    const QString name =
        types.isEmpty() ? QStringLiteral("application/octet-stream") : types.constFirst().name();
    m_mimeTypesBySuffix.insert(key, name);
    return name;
}

QIcon FileIconCache::iconForFileName(const QString& fileName)
{
    const QString type = mimeTypeName(fileName);
    if (const auto found = m_icons.constFind(type); found != m_icons.cend())
        return *found;
    return iconNamed(type, iconNamesFor(QMimeDatabase().mimeTypeForName(type)));
}

QIcon FileIconCache::iconNamed(const QString& key, const QStringList& names)
{
    QIcon icon;
    for (const QString& name : names) {
        if (name.isEmpty())
            continue;
        ++m_lookups;
        icon = QIcon::fromTheme(name);
        if (!icon.isNull())
            break;
    }
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    m_icons.insert(key, icon);
    return icon;
}

QPixmap FileIconCache::pixmapForFileName(const QString& fileName, int size, qreal devicePixelRatio)
{
    const QString type = mimeTypeName(fileName);
    return pixmap(type, iconForFileName(fileName), size, devicePixelRatio);
}

QPixmap FileIconCache::fileManagerPixmap(int size, qreal devicePixelRatio)
{
    QIcon icon = m_icons.value(fileManagerKey);
    if (icon.isNull())
        icon = iconNamed(fileManagerKey,
                         {QStringLiteral("system-file-manager"),
                          QStringLiteral("org.gnome.Nautilus"), QStringLiteral("folder")});
    return pixmap(fileManagerKey, icon, size, devicePixelRatio);
}

QPixmap FileIconCache::pixmap(const QString& key, const QIcon& icon, int size,
                              qreal devicePixelRatio)
{
    const QString pixmapKey =
        key + u'\n' + QString::number(size) + u'@' + QString::number(devicePixelRatio);
    if (const QPixmap kept = m_pixmaps.find(pixmapKey); !kept.isNull())
        return kept;
    const QPixmap pixmap = icon.pixmap(QSize(size, size), devicePixelRatio);
    m_pixmaps.insert(pixmapKey, pixmap);
    return pixmap;
}
