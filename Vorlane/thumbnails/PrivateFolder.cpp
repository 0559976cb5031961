#include "PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

bool PrivateFolder::make(const QString& absolutePath)
{
    const QString path = QDir::cleanPath(absolutePath);
    if (QFileInfo(path).isDir())
        return true;
    const QString parent = QFileInfo(path).path();
    if (parent == path || !make(parent))
        return false;
    // Another thread or program may create it at the same moment: that is success too.
    ::mkdir(QFile::encodeName(path).constData(), 0700);
    return QFileInfo(path).isDir();
}
