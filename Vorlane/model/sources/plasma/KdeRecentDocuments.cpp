#include "KdeRecentDocuments.h"

#include "DesktopEntry.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QUrl>

namespace {
// A link file is a few lines; anything much larger is not one.
constexpr qint64 maximumLinkSize = 64 * 1024;

QString withoutDesktopSuffix(QString id)
{
    if (id.endsWith(QStringLiteral(".desktop")))
        id.chop(8);
    return id;
}

QString localPathOf(const QString& url)
{
    if (url.startsWith(u'/'))
        return url;
    const QUrl parsed(url);
    return parsed.isLocalFile() ? parsed.toLocalFile() : QString();
}
} // namespace

namespace KdeRecentDocuments {
QString folderPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/RecentDocuments");
}

QList<Link> read(const QString& folder)
{
    QList<Link> links;
    const QFileInfoList files =
        QDir(folder).entryInfoList({QStringLiteral("*.desktop")}, QDir::Files | QDir::Hidden);
    for (const QFileInfo& info : files) {
        QFile file(info.absoluteFilePath());
        if (info.size() > maximumLinkSize || !file.open(QIODevice::ReadOnly))
            continue;
        const DesktopEntry entry = DesktopEntry::parse(file.read(maximumLinkSize));
        const QString agent =
            withoutDesktopSuffix(entry.value(QStringLiteral("X-KDE-LastOpenedWith")));
        const QString path = localPathOf(entry.value(QStringLiteral("URL")));
        if (agent.isEmpty() || path.isEmpty())
            continue;
        links.append({info.absoluteFilePath(), agent, path, info.lastModified().toUTC()});
    }
    return links;
}
} // namespace KdeRecentDocuments
