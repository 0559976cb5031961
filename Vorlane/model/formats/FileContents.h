#pragma once

#include "FileIdentity.h"

#include <QByteArray>
#include <QString>

// A file's bytes read through one open descriptor, with the identity fstat() gave that
// descriptor, so that the size and times belong to the bytes read: open, fstat, read and close,
// where a path stat, a permission check and a read to the end would each walk the path again or
// cost a call. Only regular files are read (a FIFO or device would block or never end).
struct FileContents
{
    enum class Outcome
    {
        Read,
        Missing,
        NotRegularFile,
        TooLarge,
        // Open or read failed otherwise; errorString says how.
        Unreadable,
    };

    Outcome outcome = Outcome::Missing;
    FileIdentity identity;
    QByteArray bytes;
    QString errorString;

    // At most maximumSize bytes are read: a larger file, or one that grows past it while being
    // read, is TooLarge.
    static FileContents read(const QString& path, qint64 maximumSize);
    bool wasRead() const { return outcome == Outcome::Read; }
};
