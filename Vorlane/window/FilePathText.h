#pragma once

#include <QString>
#include <QUrl>

// Where a document lies, as the files views show it while Command (Ctrl) is held: the folders
// and the file's own name joined by a separator, relative to the home folder when the file is
// inside it, else from the top of the file system without the leading "/".
class FilePathText
{
public:
    // The list's separator: two spaces, a small right-pointing triangle, two spaces.
    static const QString listSeparator;
    // The grid's, narrower: one space each side.
    static const QString gridSeparator;

    static QString forFile(const QUrl& fileUrl, const QString& separator);
    // The same for a path, with the home folder given (tests use their own).
    static QString forPath(const QString& path, const QString& homePath, const QString& separator);
};
