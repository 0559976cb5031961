#include "PixmapStore.h"

#include <algorithm>

PixmapStore::PixmapStore(qsizetype byteLimit)
    : m_entries(byteLimit)
{}

QPixmap PixmapStore::find(const QString& key, quint64 stamp)
{
    const Entry* entry = m_entries.object(key);
    if (!entry)
        return {};
    if (entry->stamp != stamp) {
        m_entries.remove(key);
        return {};
    }
    return entry->pixmap;
}

void PixmapStore::insert(const QString& key, const QPixmap& pixmap, quint64 stamp)
{
    if (pixmap.isNull()) {
        m_entries.remove(key);
        return;
    }
    // QCache drops an object that costs more than the whole bound, and the old entry with it.
    m_entries.insert(key, new Entry{pixmap, stamp}, std::max<qsizetype>(bytesOf(pixmap), 1));
}

void PixmapStore::removeIf(const std::function<bool(const QString& key)>& outdated)
{
    const QList<QString> keys = m_entries.keys();
    for (const QString& key : keys) {
        if (outdated(key))
            m_entries.remove(key);
    }
}

qsizetype PixmapStore::bytesOf(const QPixmap& pixmap)
{
    return qsizetype(pixmap.width()) * pixmap.height() * std::max(pixmap.depth(), 1) / 8;
}
