#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPair>
#include <QSize>
#include <QString>

#include <functional>

// Real documents for the thumbnail tests, made at test time: pictures saved by Qt, PDF files
// written by QPdfWriter, damaged and hostile files, and stand-in thumbnailers.
class ThumbnailTestFiles
{
public:
    // A picture of the given size, one colour, saved in the format the suffix names.
    static QString writeImage(const QString& path, const QSize& size, const QColor& colour,
                              const char* format = nullptr, int quality = -1);
    // A photo-like picture (gradients and noise), so that encoding and decoding take real work.
    static QString writePhoto(const QString& path, const QSize& size, int seed);
    // A PDF whose pages are each filled with one colour; points is the page size.
    static QString writePdf(const QString& path, const QList<QColor>& pageColours,
                            const QSizeF& points = QSizeF(595, 842));
    // A PNG whose header claims width x height pixels, with no real image data behind it.
    static QString writeHostilePng(const QString& path, quint32 width, quint32 height);
    // An uncompressed 24-bit TGA file (a format Qt does not read without extra plugins).
    static QString writeTga(const QString& path, const QSize& size, const QColor& colour);
    static QString writeBytes(const QString& path, const QByteArray& bytes);

    // Installs <name>.thumbnailer in dataFolder/thumbnailers for the MIME types, running the
    // executable shell script written from scriptBody with the given Exec arguments.
    static QString installThumbnailer(const QString& dataFolder, const QString& name,
                                      const QString& scriptBody, const QString& execArguments,
                                      const QString& mimeTypes);

    // The tEXt chunks of a PNG file, in file order.
    static QList<QPair<QByteArray, QByteArray>> textChunks(const QString& pngPath);
    static QByteArray chunkTypes(const QString& pngPath);

    // The colour at the centre of the picture.
    static QColor centreColour(const QImage& image);
    static bool isCloseTo(const QColor& actual, const QColor& expected, int tolerance = 40);

    // Runs the event loop until the condition holds or the generous deadline passes.
    static bool waitFor(const std::function<bool()>& condition, int milliseconds = 60000);
};
