#pragma once

#include "FileStamp.h"

#include <QCache>
#include <QImage>
#include <QMutex>
#include <QString>

#include <optional>

// Thumbnails made while the program runs, by key, each with the version of the file it shows
// when known. Bounded by the bytes of image data it holds: the least recently used entries go
// first when a new one would pass the bound. Safe on any thread.
class ThumbnailMemoryCache
{
public:
    // Room for some 300 of the grid's pictures at twice the density, several screens of them.
    static constexpr qsizetype defaultByteLimit = 32 * 1024 * 1024;

    explicit ThumbnailMemoryCache(qsizetype byteLimit = defaultByteLimit);

    struct Entry
    {
        QImage image;
        std::optional<FileStamp> stamp;
    };

    std::optional<Entry> find(const QString& key) const;
    // Pictures larger than the whole bound are not kept.
    void insert(const QString& key, const QImage& image, std::optional<FileStamp> stamp);
    void remove(const QString& key);
    void clear();

    qsizetype byteLimit() const;
    qsizetype bytesUsed() const;
    qsizetype count() const;

private:
    mutable QMutex m_mutex;
    // QCache::object() refreshes an entry's recency, hence mutable.
    mutable QCache<QString, Entry> m_entries;
};
