#pragma once

#include <QString>

#include <optional>

// What identifies one version of a file's contents: device, inode, size and modification time to
// the nanosecond. A file deleted, replaced or rewritten while its thumbnail was being made no
// longer has the stamp it had before.
class FileStamp
{
public:
    // The stamp of the regular file at path; none when it is missing or not a regular file.
    static std::optional<FileStamp> of(const QString& path);

    // Whole seconds since the epoch, as the freedesktop standard's Thumb::MTime states it.
    qint64 modificationSeconds() const { return m_modifiedSeconds; }
    qint64 size() const { return m_size; }

    friend bool operator==(const FileStamp&, const FileStamp&) = default;

private:
    quint64 m_device = 0;
    quint64 m_inode = 0;
    qint64 m_size = 0;
    qint64 m_modifiedSeconds = 0;
    qint64 m_modifiedNanoseconds = 0;
};
