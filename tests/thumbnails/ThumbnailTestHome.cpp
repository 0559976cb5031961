#include "ThumbnailTestHome.h"

#include <QDir>
#include <QFile>

ThumbnailTestHome::ThumbnailTestHome()
{
    QDir().mkpath(systemDataDir());
    QFile::link(QStringLiteral("/usr/share/mime"), systemDataDir() + QStringLiteral("/mime"));
}

QString ThumbnailTestHome::document(const QString& name) const
{
    return path() + QStringLiteral("/Documents/") + name;
}
