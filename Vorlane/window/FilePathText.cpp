#include "FilePathText.h"

#include <QDir>

const QString FilePathText::listSeparator = QStringLiteral("  \u25B8  ");
const QString FilePathText::gridSeparator = QStringLiteral(" \u25B8 ");

QString FilePathText::forFile(const QUrl& fileUrl, const QString& separator)
{
    return forPath(fileUrl.toLocalFile(), QDir::homePath(), separator);
}

QString FilePathText::forPath(const QString& path, const QString& homePath,
                              const QString& separator)
{
    const QString file = QDir::cleanPath(path);
    const QString home = QDir::cleanPath(homePath);
    QString relative;
    // The home folder contains the file: the components below it.
    if (home != u"/" && file.startsWith(home + u'/'))
        relative = file.mid(home.size() + 1);
    else
        relative = file.startsWith(u'/') ? file.mid(1) : file;
    return relative.split(u'/', Qt::SkipEmptyParts).join(separator);
}
