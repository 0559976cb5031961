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

QString localPathOfUrl(const QString& url)
{
    if (url.startsWith(u'/'))
        return url;
    const QUrl parsed(url);
    return parsed.isLocalFile() ? parsed.toLocalFile() : QString();
}

// KConfig's path entries (URL[$e]=$HOME/Documents/a.pdf): the home folder written as $HOME, and
// every other dollar sign doubled.
QString expandPathEntry(const QString& value)
{
    QString path;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) != u'$') {
            path += value.at(i);
        } else if (value.mid(i + 1, 1) == u"$") {
            path += u'$';
            ++i;
        } else if (value.mid(i + 1, 4) == u"HOME") {
            path += QDir::homePath();
            i += 4;
        } else {
            // Another variable: not a path this list can follow.
            return {};
        }
    }
    return path;
}

// KDE writes the document as a path entry; other writers may write a plain URL.
QString documentOf(const DesktopEntry& entry)
{
    const QString pathEntry = entry.value(QStringLiteral("URL[$e]"));
    if (!pathEntry.isEmpty())
        return localPathOfUrl(expandPathEntry(pathEntry));
    return localPathOfUrl(entry.value(QStringLiteral("URL")));
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
        const QString path = documentOf(entry);
        if (agent.isEmpty() || path.isEmpty())
            continue;
        links.append({info.absoluteFilePath(), agent, path, info.lastModified().toUTC()});
    }
    return links;
}
} // namespace KdeRecentDocuments
