#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

// Real documents for the preview tests, written at test time into a temporary folder.
class PreviewTestFiles
{
public:
    // A JPEG whose left half is one colour and right half another; with an EXIF orientation
    // (1 to 8) when given one.
    static QByteArray twoColourJpeg(const QSize& size, const QColor& left, const QColor& right,
                                    int exifOrientation = 0);
    // An endlessly looping GIF whose frames are each filled with one colour.
    static QByteArray animatedGif(const QSize& size, const QList<QColor>& frameColours,
                                  int delayCentiseconds);
    // A PDF whose pages are each filled with one colour (A4 pages).
    static void writePdf(const QString& path, const QList<QColor>& pageColours);
    static QString write(const QString& path, const QByteArray& bytes);
};
