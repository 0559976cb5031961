#include "ThumbnailMemoryCache.h"

#include <algorithm>

ThumbnailMemoryCache::ThumbnailMemoryCache(qsizetype byteLimit)
    : m_entries(byteLimit)
{}

std::optional<ThumbnailMemoryCache::Entry> ThumbnailMemoryCache::find(const QString& key) const
{
    const QMutexLocker lock(&m_mutex);
    const Entry* entry = m_entries.object(key);
    if (!entry)
        return std::nullopt;
    return *entry;
}

void ThumbnailMemoryCache::insert(const QString& key, const QImage& image,
                                  std::optional<FileStamp> stamp)
{
    if (image.isNull())
        return;
    const QMutexLocker lock(&m_mutex);
    m_entries.insert(key, new Entry{image, stamp}, std::max<qsizetype>(image.sizeInBytes(), 1));
}

void ThumbnailMemoryCache::remove(const QString& key)
{
    const QMutexLocker lock(&m_mutex);
    m_entries.remove(key);
}

void ThumbnailMemoryCache::clear()
{
    const QMutexLocker lock(&m_mutex);
    m_entries.clear();
}

qsizetype ThumbnailMemoryCache::byteLimit() const
{
    const QMutexLocker lock(&m_mutex);
    return m_entries.maxCost();
}

qsizetype ThumbnailMemoryCache::bytesUsed() const
{
    const QMutexLocker lock(&m_mutex);
    return m_entries.totalCost();
}

qsizetype ThumbnailMemoryCache::count() const
{
    const QMutexLocker lock(&m_mutex);
    return m_entries.count();
}
