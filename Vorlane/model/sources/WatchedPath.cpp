#include "WatchedPath.h"

#include <QDir>
#include <QFileInfo>

WatchedPath WatchedPath::file(QString path, bool writtenInPlace)
{
    return {Kind::file, std::move(path), {}, writtenInPlace};
}

WatchedPath WatchedPath::folder(QString path, QString nameSuffix, bool writtenInPlace)
{
    return {Kind::folder, std::move(path), std::move(nameSuffix), writtenInPlace};
}

QString WatchedPath::folderToWatch() const
{
    return kind == Kind::folder ? path : QFileInfo(path).path();
}

bool WatchedPath::coversName(const QString& fileName) const
{
    if (kind == Kind::folder)
        return fileName.endsWith(nameSuffix);
    return fileName == QFileInfo(path).fileName();
}

bool WatchedPath::covers(const QString& filePath) const
{
    const QString clean = QDir::cleanPath(filePath);
    if (kind == Kind::file)
        return clean == QDir::cleanPath(path);
    const QFileInfo file(clean);
    return file.path() == QDir::cleanPath(path) && coversName(file.fileName());
}
