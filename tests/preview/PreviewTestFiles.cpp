#include "PreviewTestFiles.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>

namespace {
void appendLittleEndian16(QByteArray& bytes, int value)
{
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>((value >> 8) & 0xFF);
}

// LZW data for a frame of one colour index: with a clear code before every two pixels the
// codes stay three bits wide, so no real compression is needed.
QByteArray solidFrameData(int pixels, int colourIndex)
{
    constexpr int clear = 4;
    constexpr int end = 5;
    QList<int> codes;
    for (int pixel = 0; pixel < pixels; ++pixel) {
        if (pixel % 2 == 0)
            codes << clear;
        codes << colourIndex;
    }
    codes << end;
    QByteArray packed;
    quint32 buffer = 0;
    int bits = 0;
    for (const int code : codes) {
        buffer |= static_cast<quint32>(code) << bits;
        bits += 3;
        for (; bits >= 8; bits -= 8, buffer >>= 8)
            packed += static_cast<char>(buffer & 0xFF);
    }
    if (bits > 0)
        packed += static_cast<char>(buffer & 0xFF);
    QByteArray blocks(1, '\x02'); // the smallest code size
    for (qsizetype at = 0; at < packed.size(); at += 255) {
        const QByteArray block = packed.mid(at, 255);
        blocks += static_cast<char>(block.size());
        blocks += block;
    }
    return blocks + '\0';
}
} // namespace

QByteArray PreviewTestFiles::twoColourPicture(const QSize& size, const QColor& left,
                                              const QColor& right, int exifOrientation,
                                              const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(right);
    QPainter(&image).fillRect(0, 0, size.width() / 2, size.height(), left);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 95);
    if (exifOrientation == 0)
        return jpeg;
    // APP1 "Exif": a big-endian TIFF header and one IFD holding the orientation alone.
    QByteArray exif("Exif\0\0MM\0\x2A\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01", 24);
    exif += static_cast<char>(0);
    exif += static_cast<char>(exifOrientation);
    exif += QByteArray(6, '\0'); // padding, then no next IFD
    QByteArray segment("\xFF\xE1", 2);
    segment += static_cast<char>(((exif.size() + 2) >> 8) & 0xFF);
    segment += static_cast<char>((exif.size() + 2) & 0xFF);
    return jpeg.insert(2, segment + exif);
}

QByteArray PreviewTestFiles::animatedGif(const QSize& size, const QList<QColor>& frameColours,
                                         int delayCentiseconds)
{
    QByteArray gif("GIF89a");
    appendLittleEndian16(gif, size.width());
    appendLittleEndian16(gif, size.height());
    gif += QByteArray("\xF1\0\0", 3); // a global table of four colours
    for (int index = 0; index < 4; ++index) {
        const QColor colour = frameColours.value(index, Qt::black);
        gif += static_cast<char>(colour.red());
        gif += static_cast<char>(colour.green());
        gif += static_cast<char>(colour.blue());
    }
    gif += QByteArray("\x21\xFF\x0BNETSCAPE2.0\x03\x01\0\0\0", 19);
    for (int frame = 0; frame < frameColours.size(); ++frame) {
        gif += QByteArray("\x21\xF9\x04\0", 4);
        appendLittleEndian16(gif, delayCentiseconds);
        gif += QByteArray("\0\0\x2C\0\0\0\0", 7);
        appendLittleEndian16(gif, size.width());
        appendLittleEndian16(gif, size.height());
        gif += '\0';
        gif += solidFrameData(size.width() * size.height(), frame);
    }
    return gif + ';';
}

void PreviewTestFiles::writePdf(const QString& path, const QList<QColor>& pageColours)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(72);
    QPainter painter(&writer);
    for (qsizetype page = 0; page < pageColours.size(); ++page) {
        if (page > 0)
            writer.newPage();
        painter.fillRect(QRect(0, 0, 595, 842), pageColours.at(page));
    }
}

QString PreviewTestFiles::write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}
