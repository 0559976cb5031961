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
    // The same answer for a document whose time will not be asked: within a batch, a folder
    // that many of the documents asked about lie in is listed once, and a name found listed
    // there (and not a symbolic link) needs no stat(). A name not found is still asked by
    // stat(), which also answers for names a case-insensitive file system spells otherwise.
    static bool isPresent(const QString& path);
    // The file's modification time (UTC): the one exists() just read for the same path, once,
    // else read now. None when the file cannot be examined.
    static std::optional<QDateTime> modificationTime(const QString& path);

    // The pass of the batch alive on this thread, numbered from 1 across the process; 0 when
    // none is. What was read from the disk during a pass is as good as new for the rest of it.
    static quint64 pass();

    // While one is alive, its thread asks through handles on the documents' folders, each opened
    // once: stat() then walks one name instead of the whole path, and every document of a folder
    // that is gone is answered without a system call. A rebuild holds one, so the handles never
    // outlive the answers of one pass. Nested batches share the outermost one's handles.
    class Batch
    {
    public:
        Batch();
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        bool m_owns = false;
    };
};
