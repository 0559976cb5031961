#include "FilePathText.h"

#include <QDir>
#include <QFileInfo>

const QString FilePathText::listSeparator = QStringLiteral("  \u25B8  ");
const QString FilePathText::gridSeparator = QStringLiteral(" \u25B8 ");

namespace {
bool isInsideFolder(const QString& path, const QString& folder)
{
    const QString inside = QDir::cleanPath(folder);
    return inside != u"/" && QDir::cleanPath(path).startsWith(inside + u'/');
}
} // namespace

QString FilePathText::forFile(const QUrl& fileUrl, const QString& separator)
{
    const QString path = fileUrl.toLocalFile();
    const QString home = QDir::homePath();
    // A home folder reached through a link (/home -> /var/home) has two spellings; a document
    // recorded under the real one is inside it too.
    if (!isInsideFolder(path, home)) {
        const QString realHome = QFileInfo(home).canonicalFilePath();
        if (!realHome.isEmpty() && isInsideFolder(path, realHome))
            return forPath(path, realHome, separator);
    }
    return forPath(path, home, separator);
}

QString FilePathText::forPath(const QString& path, const QString& homePath,
                              const QString& separator)
{
    const QString file = QDir::cleanPath(path);
    const QString home = QDir::cleanPath(homePath);
    QString relative;
    // The home folder contains the file: the components below it.
    if (isInsideFolder(file, home))
        relative = file.mid(home.size() + 1);
    else
        relative = file.startsWith(u'/') ? file.mid(1) : file;
    return relative.split(u'/', Qt::SkipEmptyParts).join(separator);
}
