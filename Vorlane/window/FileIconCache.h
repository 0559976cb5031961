#pragma once

#include "PixmapStore.h"

#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QString>

// Icons for documents by their type, and the file manager's icon, looked up in the icon theme
// once per type and kept. The type comes from the file's name alone (no reading, no stat), so a
// lookup never touches the disk after the theme has answered once. Their pictures, per size and
// density, are kept within a bound on their bytes.
class FileIconCache
{
public:
    static FileIconCache& shared();

    // The icon of the type the file name suggests; the generic document icon when the theme has
    // none for it.
    QIcon iconForFileName(const QString& fileName);
    // The same drawn at size x size points for the device pixel ratio.
    QPixmap pixmapForFileName(const QString& fileName, int size, qreal devicePixelRatio);
    // The file manager's icon, shown while a file's location is on display.
    QPixmap fileManagerPixmap(int size, qreal devicePixelRatio);
    // The name of the type the file name suggests, the name alone deciding.
    QString mimeTypeName(const QString& fileName);
    // What the first icon drawn pays for, done ahead: the icon themes' indexes read and Qt's
    // image plug-ins loaded. Meant for the moment the window waits for its first list.
    static void prepareFirstLookup();
    // Starts loading Qt's image plug-ins on another thread, so that the first lookup finds them
    // loaded. Meant for right after the application is made, before the window.
    static void loadImagePlugInsInBackground();
    // How many icon names were looked up in the theme so far.
    int lookups() const { return m_lookups; }
    const PixmapStore& pictures() const { return m_pixmaps; }

    static constexpr qsizetype pictureByteLimit = 8 * 1024 * 1024;

private:
    FileIconCache();
    QIcon iconNamed(const QString& key, const QStringList& names);
    QPixmap pixmap(const QString& key, const QIcon& icon, int size, qreal devicePixelRatio);

    QHash<QString, QString> m_mimeTypesBySuffix;
    QHash<QString, QIcon> m_icons;
    PixmapStore m_pixmaps{pictureByteLimit};
    int m_lookups = 0;
};
