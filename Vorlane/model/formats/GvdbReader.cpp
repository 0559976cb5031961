#include "GvdbReader.h"

#include <QtEndian>

#include <algorithm>

namespace {
constexpr qsizetype gvdbHeaderSize = 24;
constexpr qsizetype gvdbItemSize = 24;
constexpr quint32 noParentItem = 0xffffffff;
// Parents stand for shared beginnings of keys, like the folders of a path: real chains are a
// handful of items long.
constexpr int maxParentChain = 256;

// GVDB's hash of a key: djb2 over the key's bytes read as signed chars.
quint32 gvdbHashOf(const QByteArray& key)
{
    quint32 hash = 5381;
    for (const char c : key)
        hash = hash * 33 + static_cast<quint32>(static_cast<qint32>(static_cast<signed char>(c)));
    return hash;
}

bool failToOpen(QString* error, const char* message)
{
    if (error)
        *error = QString::fromLatin1(message);
    return false;
}
} // namespace

std::optional<GvdbReader> GvdbReader::open(const QByteArray& file, QString* error)
{
    if (file.size() < gvdbHeaderSize) {
        failToOpen(error, "Too short for a GVDB file");
        return std::nullopt;
    }
    // The signature's two numbers read in the writer's byte order.
    const QByteArrayView signature = QByteArrayView(file).first(8);
    const bool bigEndian = signature == "raVGtnai";
    if (signature != "GVariant" && !bigEndian) {
        failToOpen(error, "Not a GVDB file");
        return std::nullopt;
    }
    GvdbReader root(file, bigEndian);
    if (root.u32(8) != 0) {
        failToOpen(error, "Unknown GVDB version");
        return std::nullopt;
    }
    if (!root.readTable(root.u32(16), root.u32(20))) {
        failToOpen(error, "Damaged GVDB root table");
        return std::nullopt;
    }
    return root;
}

bool GvdbReader::readTable(quint32 start, quint32 end)
{
    if (start > end || end > quint64(file_.size()) || start % 4 != 0 || end - start < 8)
        return false;
    // The low 27 bits count the bloom filter's words; the rest is its shift.
    const quint64 bloomWords = u32(start) & ((1u << 27) - 1);
    bucketCount_ = u32(start + 4);
    const quint64 buckets = quint64(start) + 8 + bloomWords * 4;
    const quint64 items = buckets + quint64(bucketCount_) * 4;
    if (items > end || (end - items) % gvdbItemSize != 0)
        return false;
    buckets_ = qsizetype(buckets);
    items_ = qsizetype(items);
    itemCount_ = quint32((end - items) / gvdbItemSize);
    return true;
}

quint32 GvdbReader::u32(qsizetype at) const
{
    if (at < 0 || at + 4 > file_.size())
        return 0;
    const auto* bytes = reinterpret_cast<const uchar*>(file_.constData() + at);
    return bigEndian_ ? qFromBigEndian<quint32>(bytes) : qFromLittleEndian<quint32>(bytes);
}

GvdbReader::Item GvdbReader::item(quint32 index) const
{
    const qsizetype at = items_ + qsizetype(index) * gvdbItemSize;
    const auto* sizeBytes = reinterpret_cast<const uchar*>(file_.constData() + at + 12);
    Item read;
    read.hash = u32(at);
    read.parent = u32(at + 4);
    read.keyStart = u32(at + 8);
    read.keySize =
        bigEndian_ ? qFromBigEndian<quint16>(sizeBytes) : qFromLittleEndian<quint16>(sizeBytes);
    read.type = file_.at(at + 14);
    read.valueStart = u32(at + 16);
    read.valueEnd = u32(at + 20);
    return read;
}

std::optional<QByteArray> GvdbReader::fullKey(quint32 index) const
{
    QList<QByteArrayView> parts;
    qsizetype length = 0;
    for (quint32 current = index; current != noParentItem;) {
        if (current >= itemCount_ || parts.size() == maxParentChain)
            return std::nullopt;
        const Item read = item(current);
        length += read.keySize;
        if (quint64(read.keyStart) + read.keySize > quint64(file_.size()) || length > file_.size())
            return std::nullopt;
        parts.prepend(QByteArrayView(file_).sliced(read.keyStart, read.keySize));
        current = read.parent;
    }
    QByteArray key;
    key.reserve(length);
    for (QByteArrayView part : parts)
        key += part;
    return key;
}

std::optional<GvdbReader::Item> GvdbReader::find(const QString& key) const
{
    if (bucketCount_ == 0 || itemCount_ == 0)
        return std::nullopt;
    const QByteArray name = key.toUtf8();
    const quint32 hash = gvdbHashOf(name);
    // A bucket's items run from its first one to the next bucket's.
    const quint32 bucket = hash % bucketCount_;
    const quint32 first = u32(buckets_ + qsizetype(bucket) * 4);
    const quint32 last =
        bucket + 1 < bucketCount_ ? u32(buckets_ + qsizetype(bucket + 1) * 4) : itemCount_;
    for (quint32 index = first; index < std::min(last, itemCount_); ++index) {
        const Item read = item(index);
        if (read.hash == hash && fullKey(index) == name)
            return read;
    }
    return std::nullopt;
}

QStringList GvdbReader::keys() const
{
    QStringList keys;
    for (quint32 index = 0; index < itemCount_; ++index)
        if (const std::optional<QByteArray> key = fullKey(index))
            keys.append(QString::fromUtf8(*key));
    return keys;
}

SerializedVariant GvdbReader::value(const QString& key) const
{
    const std::optional<Item> found = find(key);
    if (!found || found->type != 'v' || found->valueStart > found->valueEnd ||
        found->valueEnd > quint64(file_.size()) || found->valueStart % 8 != 0)
        return {};
    return SerializedVariant(
        "v", file_.sliced(found->valueStart, found->valueEnd - found->valueStart), bigEndian_);
}

std::optional<GvdbReader> GvdbReader::table(const QString& key) const
{
    const std::optional<Item> found = find(key);
    if (!found || found->type != 'H')
        return std::nullopt;
    GvdbReader nested(file_, bigEndian_);
    if (!nested.readTable(found->valueStart, found->valueEnd))
        return std::nullopt;
    return nested;
}
