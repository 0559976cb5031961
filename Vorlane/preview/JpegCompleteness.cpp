#include "JpegCompleteness.h"

#include <QFile>

#include <cstring>

namespace {
constexpr quint8 markerStart = 0xFF;
constexpr quint8 startOfImage = 0xD8;
constexpr quint8 endOfImage = 0xD9;
constexpr quint8 startOfScan = 0xDA;

bool isStandaloneMarker(quint8 marker)
{
    // TEM and the restart markers carry no length.
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

qsizetype nextMarkerStart(QByteArrayView bytes, qsizetype from)
{
    if (from >= bytes.size())
        return bytes.size();
    const void* found =
        std::memchr(bytes.data() + from, markerStart, static_cast<size_t>(bytes.size() - from));
    return found ? static_cast<const char*>(found) - bytes.data() : bytes.size();
}

// Where the compressed data of a scan ends: at the first marker that is neither a stuffed 0xFF
// byte (FF 00) nor a restart marker.
qsizetype endOfScanData(QByteArrayView bytes, qsizetype from)
{
    qsizetype at = from;
    while (true) {
        at = nextMarkerStart(bytes, at);
        if (at + 1 >= bytes.size())
            return bytes.size();
        const auto next = static_cast<quint8>(bytes.at(at + 1));
        if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
            at += 2;
            continue;
        }
        return at;
    }
}
} // namespace

bool JpegCompleteness::isComplete(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    if (uchar* mapped = file.map(0, size)) {
        const bool complete =
            isComplete(QByteArrayView(reinterpret_cast<const char*>(mapped), size));
        file.unmap(mapped);
        return complete;
    }
    return isComplete(QByteArrayView(file.readAll()));
}

bool JpegCompleteness::isComplete(QByteArrayView bytes)
{
    const auto byteAt = [&bytes](qsizetype at) { return static_cast<quint8>(bytes.at(at)); };
    if (bytes.size() < 4 || byteAt(0) != markerStart || byteAt(1) != startOfImage)
        return false;
    qsizetype at = 2;
    while (true) {
        // Stray bytes between segments are skipped, as decoders do.
        at = nextMarkerStart(bytes, at);
        while (at < bytes.size() && byteAt(at) == markerStart)
            ++at;
        if (at >= bytes.size())
            return false;
        const quint8 marker = byteAt(at++);
        if (marker == endOfImage)
            return true;
        // A stuffed zero outside a scan is a stray byte too.
        if (marker == 0x00 || isStandaloneMarker(marker))
            continue;
        if (at + 2 > bytes.size())
            return false;
        const qsizetype length = (qsizetype(byteAt(at)) << 8) | byteAt(at + 1);
        if (length < 2 || at + length > bytes.size())
            return false;
        at += length;
        if (marker == startOfScan)
            at = endOfScanData(bytes, at);
    }
}
