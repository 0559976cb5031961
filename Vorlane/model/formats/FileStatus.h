#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// Whether a document exists, asked with stat() so that the answer carries its modification time:
// a reader checks that each document exists and the date rules ask its time right after, and one
// system call answers both. The time is remembered per thread for the last path asked about.
class FileStatus
{
public:
    // True when path names something stat() can reach (as QFileInfo::exists answers).
    static bool exists(const QString& path);
    // The file's modification time (UTC): the one exists() just read for the same path, once,
    // else read now. None when the file cannot be examined.
    static std::optional<QDateTime> modificationTime(const QString& path);
};
