#pragma once

#include <QCache>
#include <QPixmap>
#include <QString>

#include <functional>

// Pictures by key within a bound on the bytes of their pixels: when a new one would pass the
// bound, the least recently used go first. Each picture may carry a stamp saying what it was made
// from; a lookup with another stamp finds nothing and drops the outdated picture, so a key holds
// one picture at most, never a trail of old ones. Main thread only.
class PixmapStore
{
public:
    explicit PixmapStore(qsizetype byteLimit);

    // The picture under key made from `stamp`; null when there is none. Marks it recently used.
    QPixmap find(const QString& key, quint64 stamp = 0);
    bool contains(const QString& key) const { return m_entries.contains(key); }
    // A picture larger than the whole bound is not kept.
    void insert(const QString& key, const QPixmap& pixmap, quint64 stamp = 0);
    void remove(const QString& key) { m_entries.remove(key); }
    void removeIf(const std::function<bool(const QString& key)>& outdated);
    void clear() { m_entries.clear(); }

    // Lowering the bound drops the least recently used until the rest fits.
    void setByteLimit(qsizetype byteLimit) { m_entries.setMaxCost(byteLimit); }
    qsizetype byteLimit() const { return m_entries.maxCost(); }
    qsizetype bytesUsed() const { return m_entries.totalCost(); }
    qsizetype count() const { return m_entries.count(); }

    // The bytes of the picture's pixels.
    static qsizetype bytesOf(const QPixmap& pixmap);

private:
    struct Entry
    {
        QPixmap pixmap;
        quint64 stamp;
    };

    QCache<QString, Entry> m_entries;
};
