#pragma once

#include <QString>

// A file or folder whose changes change what a source lists, as the file monitor watches it.
// A watched file is watched through its folder: writers replace such files by renaming a new one
// over them. A watched folder stands for its files whose names end with nameSuffix.
struct WatchedPath
{
    enum class Kind
    {
        file,
        folder
    };

    Kind kind = Kind::file;
    QString path;
    // For a folder: the end of the names of the files that count; empty, every file counts.
    QString nameSuffix;
    // Whether writers also write the files in place, keeping them open: then every write counts,
    // not only the finished file.
    bool writtenInPlace = false;

    static WatchedPath file(QString path, bool writtenInPlace = false);
    static WatchedPath folder(QString path, QString nameSuffix, bool writtenInPlace);

    // The folder whose entries are watched: the folder itself, or the folder holding the file.
    QString folderToWatch() const;
    // Whether a file of that name in folderToWatch() is one of those watched.
    bool coversName(const QString& fileName) const;
    // Whether filePath (absolute) is the watched file or one of the watched folder's files.
    bool covers(const QString& filePath) const;

    friend bool operator==(const WatchedPath&, const WatchedPath&) = default;
};
