#pragma once

#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QString>

// Application icons by the name a desktop entry gives (an icon-theme name or an image path),
// looked up in the icon theme once and kept. Lookups happen when a row is painted, never while
// the store rebuilds.
class AppIconCache
{
public:
    static AppIconCache& shared();

    // The icon for the name; the theme's generic application icon (or Vorlane's own) when the
    // name is empty or unknown.
    QIcon icon(const QString& iconName);
    // The icon drawn at size points for the given device pixel ratio.
    QPixmap pixmap(const QString& iconName, int size, qreal devicePixelRatio);
    // How many names were looked up in the theme so far.
    int lookups() const { return m_lookups; }
    void clear();

private:
    AppIconCache();
    QIcon lookUp(const QString& iconName) const;

    QHash<QString, QIcon> m_icons;
    QHash<QString, QPixmap> m_pixmaps;
    int m_lookups = 0;
};
