#pragma once

#include <QByteArray>

#include <optional>
#include <sys/types.h>

struct stat;

// What tells one state of a file from another without reading it: an editor that reads a file,
// changes it and writes it back compares the identity before and after, and starts over when
// another program replaced or rewrote the file in between.
struct FileIdentity
{
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    mode_t mode = 0;

    // None when the path cannot be examined.
    static std::optional<FileIdentity> of(const QByteArray& encodedPath);
    // What fstat() or stat() told.
    static FileIdentity of(const struct stat& status);
    bool isRegularFile() const;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};
