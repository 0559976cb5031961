#include "PdfThumbnailRenderer.h"

#include "ThumbnailScaling.h"

#include <algorithm>
#include <poppler-qt6.h>

bool PdfThumbnailRenderer::handles(const QMimeType& mimeType)
{
    return mimeType.inherits(QStringLiteral("application/pdf"));
}

ThumbnailRenderResult PdfThumbnailRenderer::render(const QString& path, int edge)
{
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    if (!document || document->isLocked() || document->numPages() < 1)
        return ThumbnailRenderResult::failed();
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    const std::unique_ptr<Poppler::Page> page = document->page(0);
    if (!page)
        return ThumbnailRenderResult::failed();
    const QSizeF points = page->pageSizeF();
    const double longest = std::max(points.width(), points.height());
    if (!(longest > 0))
        return ThumbnailRenderResult::failed();
    // A point is 1/72 inch: this resolution makes the longer side edge pixels long.
    const double dpi = 72.0 * edge / longest;
    const QImage image = page->renderToImage(dpi, dpi);
    return ThumbnailRenderResult::rendered(ThumbnailScaling::fitInto(image, QSize(edge, edge)));
}
