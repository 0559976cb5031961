#include "PreviewPdfDocument.h"

#include "PreviewFit.h"

#include <QVariant>

#include <poppler-qt6.h>

namespace {
// Poppler asks through a plain function with the payload it was given.
bool abortRequested(const QVariant& payload)
{
    const auto* shouldAbort = static_cast<const std::function<bool()>*>(payload.value<void*>());
    return shouldAbort && *shouldAbort && (*shouldAbort)();
}
} // namespace

std::shared_ptr<PreviewPdfDocument> PreviewPdfDocument::open(const QString& path)
{
    std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    if (!document || document->isLocked())
        return nullptr;
    const int pages = document->numPages();
    if (pages < 1)
        return nullptr;
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    document->setRenderHint(Poppler::Document::TextHinting);
    return std::shared_ptr<PreviewPdfDocument>(new PreviewPdfDocument(std::move(document), pages));
}

PreviewPdfDocument::PreviewPdfDocument(std::unique_ptr<Poppler::Document> document, int pageCount)
    : m_document(std::move(document))
    , m_pageCount(pageCount)
{}

PreviewPdfDocument::~PreviewPdfDocument() = default;

QImage PreviewPdfDocument::renderPage(int page, const QSize& box, double devicePixelRatio,
                                      const std::function<bool()>& shouldAbort) const
{
    if (page < 0 || page >= m_pageCount || box.isEmpty())
        return {};
    const QMutexLocker lock(&m_rendering);
    const std::unique_ptr<Poppler::Page> popplerPage = m_document->page(page);
    if (!popplerPage)
        return {};
    // Points are 1/72 inch; the page just fits into the box, in device pixels.
    const double scale = PreviewFit::scaleToFit(popplerPage->pageSizeF(), QSizeF(box));
    const double dpi = 72.0 * scale * devicePixelRatio;
    if (!(dpi > 0))
        return {};
    QImage image = popplerPage->renderToImage(
        dpi, dpi, -1, -1, -1, -1, Poppler::Page::Rotate0, nullptr, nullptr, abortRequested,
        QVariant::fromValue(static_cast<void*>(const_cast<std::function<bool()>*>(&shouldAbort))));
    if (shouldAbort && shouldAbort())
        return {};
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}
