#include "ImageNamed.h"

#include "Appearance.h"

#include <QFile>
#include <QHash>

// The artwork lives in this static library; its resources must be registered by hand.
static void registerArtwork()
{
    Q_INIT_RESOURCE(Artwork);
}

QIcon imageNamed(const QString& name)
{
    static const bool registered = (registerArtwork(), true);
    Q_UNUSED(registered);
    static QHash<QString, QIcon> cache;
    if (const auto found = cache.constFind(name); found != cache.cend())
        return *found;
    // The artwork is SVG, drawn sharp at every size.
    const QString path = QStringLiteral(":/images/") + name + QStringLiteral(".svg");
    const QIcon icon = QFile::exists(path) ? QIcon(path) : QIcon();
    cache.insert(name, icon);
    return icon;
}

QString styledImageName(const QString& prefix)
{
    return prefix + u'_' + appearanceStyle();
}
