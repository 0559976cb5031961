#pragma once

#include "ThumbnailRenderResult.h"

#include <QMimeType>
#include <QString>

// Pictures in the formats Qt's image plugins read, decoded straight to thumbnail size where the
// format allows (JPEG scales while decoding) and refused when decoding would take more memory
// than a thumbnail is worth.
class ImageThumbnailRenderer
{
public:
    // Decoding never allocates more than this many MiB for one picture.
    static constexpr int allocationLimitMiB = 128;

    static bool handles(const QMimeType& mimeType);
    // The picture fitted into an edge by edge square; failed when it cannot be decoded.
    static ThumbnailRenderResult render(const QString& path, int edge);
};
