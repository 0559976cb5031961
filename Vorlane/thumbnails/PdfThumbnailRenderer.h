#pragma once

#include "ThumbnailRenderResult.h"

#include <QMimeType>
#include <QString>

// The first page of a PDF document, rendered by Poppler at just the resolution the thumbnail
// needs.
class PdfThumbnailRenderer
{
public:
    static bool handles(const QMimeType& mimeType);
    // The first page fitted into an edge by edge square; failed for damaged, locked or empty
    // documents.
    static ThumbnailRenderResult render(const QString& path, int edge);
};
