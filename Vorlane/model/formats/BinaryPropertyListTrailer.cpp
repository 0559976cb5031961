#include "BinaryPropertyListTrailer.h"

namespace {
// A big-endian unsigned number of 1 to 8 bytes, when it lies inside the data.
std::optional<quint64> unsignedAt(QByteArrayView data, qsizetype offset, int size)
{
    if (offset < 0 || size < 1 || size > 8 || offset + size > data.size())
        return std::nullopt;
    quint64 value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | static_cast<quint8>(data[offset + i]);
    return value;
}
} // namespace

std::optional<BinaryPropertyListTrailer> BinaryPropertyListTrailer::read(QByteArrayView data)
{
    if (data.size() < headerSize + trailerSize + 1)
        return std::nullopt;
    const qsizetype start = data.size() - trailerSize;
    BinaryPropertyListTrailer trailer;
    trailer.offsetSize = static_cast<quint8>(data[start + 6]);
    trailer.referenceSize = static_cast<quint8>(data[start + 7]);
    trailer.objectCount = *unsignedAt(data, start + 8, 8);
    trailer.topObject = *unsignedAt(data, start + 16, 8);
    trailer.offsetTableStart = *unsignedAt(data, start + 24, 8);
    const quint64 tableSpace = static_cast<quint64>(start);
    const bool sound = trailer.offsetSize >= 1 && trailer.offsetSize <= 8 &&
                       trailer.referenceSize >= 1 && trailer.referenceSize <= 8 &&
                       trailer.objectCount >= 1 && trailer.topObject < trailer.objectCount &&
                       trailer.offsetTableStart >= headerSize &&
                       trailer.offsetTableStart <= tableSpace &&
                       trailer.objectCount <=
                           (tableSpace - trailer.offsetTableStart) / quint64(trailer.offsetSize);
    if (!sound)
        return std::nullopt;
    return trailer;
}

std::optional<quint64> BinaryPropertyListTrailer::objectOffset(QByteArrayView data,
                                                               quint64 index) const
{
    if (index >= objectCount)
        return std::nullopt;
    const qsizetype entry = static_cast<qsizetype>(offsetTableStart + index * quint64(offsetSize));
    const std::optional<quint64> offset = unsignedAt(data, entry, offsetSize);
    if (!offset || *offset < headerSize || *offset >= offsetTableStart)
        return std::nullopt;
    return offset;
}
