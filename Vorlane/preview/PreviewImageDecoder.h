#pragma once

#include <QImage>
#include <QMimeType>
#include <QSize>
#include <QString>

#include <optional>

// Pictures in the formats Qt's image plugins read, decoded off the UI thread at the size they
// are shown (a camera's JPEG scales while it decodes), turned upright as their EXIF orientation
// says.
class PreviewImageDecoder
{
public:
    // Decoding never takes more than this many MiB for one picture.
    static constexpr int allocationLimitMiB = 256;

    struct Picture
    {
        // Fitted into the box, never enlarged.
        QImage image;
        // The upright picture's own size, before fitting.
        QSize naturalSize;
        // More than one frame to play.
        bool animated = false;
    };

    static bool handles(const QMimeType& mimeType);
    // The picture (its first frame when animated) fitted into box (device pixels); nothing when
    // the file is damaged, cut off or too large to decode.
    static std::optional<Picture> decode(const QString& path, const QSize& box);
};
