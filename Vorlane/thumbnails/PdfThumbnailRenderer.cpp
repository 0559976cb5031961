#include "PdfThumbnailRenderer.h"

#include "PdfModule.h"
#include "PdfReader.h"
#include "ThumbnailScaling.h"

#include <algorithm>

bool PdfThumbnailRenderer::handles(const QMimeType& mimeType)
{
    return mimeType.inherits(QStringLiteral("application/pdf"));
}

ThumbnailRenderResult PdfThumbnailRenderer::render(const QString& path, int edge)
{
    const PdfReader* reader = PdfModule::reader();
    if (!reader)
        return ThumbnailRenderResult::unsupported();
    const std::unique_ptr<PdfDocument> document = reader->open(path, PdfReader::TextHinting::off);
    if (!document)
        return ThumbnailRenderResult::failed();
    const QSizeF points = document->pageSize(0);
    const double longest = std::max(points.width(), points.height());
    if (!(longest > 0))
        return ThumbnailRenderResult::failed();
    // A point is 1/72 inch: this resolution makes the longer side edge pixels long.
    const double dpi = 72.0 * edge / longest;
    const QImage image = document->renderPage(0, dpi, {});
    return ThumbnailRenderResult::rendered(ThumbnailScaling::fitInto(image, QSize(edge, edge)));
}
