#include "ThumbnailPng.h"

#include <QBuffer>
#include <QImageWriter>

#include <array>

namespace {
constexpr qsizetype signatureLength = 8;
// Length, type, data and CRC: every chunk has twelve bytes besides its data.
constexpr qsizetype chunkOverhead = 12;

quint32 crc32(const QByteArray& bytes)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> entries{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
        crc = table[(crc ^ static_cast<quint8>(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void appendBigEndian(QByteArray& bytes, quint32 value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes += static_cast<char>((value >> shift) & 0xFF);
}

quint32 readBigEndian(const QByteArray& bytes, qsizetype at)
{
    quint32 value = 0;
    for (qsizetype i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<quint8>(bytes.at(at + i));
    return value;
}

bool isValidKeyword(const QByteArray& key)
{
    return !key.isEmpty() && key.size() <= 79 && !key.contains('\0');
}
} // namespace

QByteArray ThumbnailPng::chunk(const QByteArray& type, const QByteArray& data)
{
    QByteArray bytes;
    appendBigEndian(bytes, static_cast<quint32>(data.size()));
    const QByteArray typed = type + data;
    bytes += typed;
    appendBigEndian(bytes, crc32(typed));
    return bytes;
}

QByteArray ThumbnailPng::encode(const QImage& image, const Attributes& attributes)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // Qt's default compression takes three times as long here and makes larger files.
    writer.setQuality(50);
    QImage plain = image;
    // The attributes go in as chunks of our own: Qt would compress the longer ones.
    for (const QString& key : plain.textKeys())
        plain.setText(key, QString());
    if (!writer.write(plain) || png.size() < signatureLength + chunkOverhead + 13)
        return {};
    // IHDR must come first; the text goes right after it.
    const qsizetype afterHeader = signatureLength + chunkOverhead + readBigEndian(png, 8);
    QByteArray text;
    for (const auto& [key, value] : attributes) {
        if (isValidKeyword(key) && !value.contains('\0'))
            text += chunk("tEXt", key + '\0' + value);
    }
    png.insert(afterHeader, text);
    return png;
}

ThumbnailPng::Attributes ThumbnailPng::leadingTextChunks(const QByteArray& png)
{
    Attributes attributes;
    if (!png.startsWith("\x89PNG\r\n\x1a\n"))
        return attributes;
    for (qsizetype at = signatureLength; at + chunkOverhead <= png.size();) {
        const qsizetype length = readBigEndian(png, at);
        const QByteArray type = png.mid(at + 4, 4);
        if (length > png.size() - at - chunkOverhead || type == "IDAT")
            break;
        if (type == "tEXt") {
            const QByteArray data = png.mid(at + 8, length);
            const qsizetype separator = data.indexOf('\0');
            if (separator > 0)
                attributes.append({data.left(separator), data.mid(separator + 1)});
        }
        at += chunkOverhead + length;
    }
    return attributes;
}
