#pragma once

#include "ThumbnailRenderResult.h"

#include <QMimeType>
#include <QString>

// The first page of a PDF document, rendered by the PDF module at just the resolution the
// thumbnail needs.
class PdfThumbnailRenderer
{
public:
    static bool handles(const QMimeType& mimeType);
    // The first page fitted into an edge by edge square; failed for damaged, locked or empty
    // documents, unsupported when the PDF module cannot be loaded.
    static ThumbnailRenderResult render(const QString& path, int edge);
};
