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
    // A picture whose left half is one colour and right half another, JPEG unless the format
    // says otherwise; a JPEG with an EXIF orientation (1 to 8) when given one.
    static QByteArray twoColourPicture(const QSize& size, const QColor& left, const QColor& right,
                                       int exifOrientation = 0, const char* format = "JPEG");
    // An endlessly looping GIF whose frames are each filled with one colour.
    static QByteArray animatedGif(const QSize& size, const QList<QColor>& frameColours,
                                  int delayCentiseconds);
    // A PDF whose pages are each filled with one colour (A4 pages).
    static void writePdf(const QString& path, const QList<QColor>& pageColours);
    static QString write(const QString& path, const QByteArray& bytes);
};
