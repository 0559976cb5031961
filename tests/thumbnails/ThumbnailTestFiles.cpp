#include "ThumbnailTestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QTest>

#include <cstdlib>

namespace {
void makeFolderFor(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
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

QByteArray pngChunk(const QByteArray& type, const QByteArray& data)
{
    QByteArray bytes;
    appendBigEndian(bytes, static_cast<quint32>(data.size()));
    bytes += type + data;
    // A wrong CRC would stop the reader before it looks at the size: compute the real one.
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : type + data) {
        crc ^= static_cast<quint8>(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    appendBigEndian(bytes, crc ^ 0xFFFFFFFFu);
    return bytes;
}
} // namespace

QString ThumbnailTestFiles::writeImage(const QString& path, const QSize& size, const QColor& colour,
                                       const char* format, int quality)
{
    makeFolderFor(path);
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.save(path, format, quality);
    return path;
}

QString ThumbnailTestFiles::writePhoto(const QString& path, const QSize& size, int seed)
{
    makeFolderFor(path);
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(static_cast<quint32>(seed));
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int noise = static_cast<int>(random.bounded(32));
            line[x] = qRgb((x * 255 / size.width() + noise + seed) & 0xFF,
                           (y * 255 / size.height() + noise) & 0xFF, (noise * 4 + seed * 7) & 0xFF);
        }
    }
    image.save(path, nullptr, 85);
    return path;
}

QString ThumbnailTestFiles::writePdf(const QString& path, const QList<QColor>& pageColours,
                                     const QSizeF& points)
{
    makeFolderFor(path);
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(points, QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(72);
    QPainter painter(&writer);
    for (qsizetype page = 0; page < pageColours.size(); ++page) {
        if (page > 0)
            writer.newPage();
        painter.fillRect(QRectF(QPointF(0, 0), points), pageColours.at(page));
        painter.setPen(Qt::black);
        painter.drawRect(QRectF(points.width() / 4, points.height() / 4, 20, 20));
    }
    painter.end();
    return path;
}

QString ThumbnailTestFiles::writeHostilePng(const QString& path, quint32 width, quint32 height)
{
    QByteArray header;
    appendBigEndian(header, width);
    appendBigEndian(header, height);
    header += QByteArray::fromHex("0806000000"); // 8 bits, RGBA, deflate, filter 0, no interlace
    QByteArray png = QByteArray::fromHex("89504e470d0a1a0a");
    png += pngChunk("IHDR", header);
    png += pngChunk("IDAT", QByteArray::fromHex("789c030000000001"));
    png += pngChunk("IEND", {});
    return writeBytes(path, png);
}

QString ThumbnailTestFiles::writeTga(const QString& path, const QSize& size, const QColor& colour)
{
    QByteArray tga(18, '\0');
    tga[2] = 2; // uncompressed true colour
    tga[12] = static_cast<char>(size.width() & 0xFF);
    tga[13] = static_cast<char>(size.width() >> 8);
    tga[14] = static_cast<char>(size.height() & 0xFF);
    tga[15] = static_cast<char>(size.height() >> 8);
    tga[16] = 24;
    tga[17] = 0x20; // first row at the top
    for (int i = 0; i < size.width() * size.height(); ++i) {
        tga += static_cast<char>(colour.blue());
        tga += static_cast<char>(colour.green());
        tga += static_cast<char>(colour.red());
    }
    return writeBytes(path, tga);
}

QString ThumbnailTestFiles::writeBytes(const QString& path, const QByteArray& bytes)
{
    makeFolderFor(path);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}

QString ThumbnailTestFiles::installThumbnailer(const QString& dataFolder, const QString& name,
                                               const QString& scriptBody,
                                               const QString& execArguments,
                                               const QString& mimeTypes)
{
    const QString script = dataFolder + QStringLiteral("/thumbnailer-programs/") + name;
    writeBytes(script, ("#!/bin/sh\n" + scriptBody + u'\n').toUtf8());
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString entry =
        QStringLiteral("[Thumbnailer Entry]\nTryExec=%1\nExec=%1 %2\nMimeType=%3\n")
            .arg(script, execArguments, mimeTypes);
    return writeBytes(dataFolder + QStringLiteral("/thumbnailers/") + name +
                          QStringLiteral(".thumbnailer"),
                      entry.toUtf8());
}

QList<QPair<QByteArray, QByteArray>> ThumbnailTestFiles::textChunks(const QString& pngPath)
{
    QFile file(pngPath);
    file.open(QIODevice::ReadOnly);
    const QByteArray png = file.readAll();
    QList<QPair<QByteArray, QByteArray>> chunks;
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const qsizetype length = readBigEndian(png, at);
        if (png.mid(at + 4, 4) == "tEXt") {
            const QByteArray data = png.mid(at + 8, length);
            const qsizetype separator = data.indexOf('\0');
            chunks.append({data.left(separator), data.mid(separator + 1)});
        }
        at += 12 + length;
    }
    return chunks;
}

QByteArray ThumbnailTestFiles::chunkTypes(const QString& pngPath)
{
    QFile file(pngPath);
    file.open(QIODevice::ReadOnly);
    const QByteArray png = file.readAll();
    QByteArray types;
    for (qsizetype at = 8; at + 12 <= png.size();) {
        types += png.mid(at + 4, 4) + ' ';
        at += 12 + readBigEndian(png, at);
    }
    return types.trimmed();
}

QColor ThumbnailTestFiles::centreColour(const QImage& image)
{
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

bool ThumbnailTestFiles::isCloseTo(const QColor& actual, const QColor& expected, int tolerance)
{
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

bool ThumbnailTestFiles::waitFor(const std::function<bool()>& condition, int milliseconds)
{
    return QTest::qWaitFor(condition, milliseconds);
}
