#include "PopplerPdfDocument.h"

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

PopplerPdfDocument::PopplerPdfDocument(std::unique_ptr<Poppler::Document> document, int pageCount)
    : m_document(std::move(document))
    , m_pageCount(pageCount)
{}

PopplerPdfDocument::~PopplerPdfDocument() = default;

QSizeF PopplerPdfDocument::pageSize(int page) const
{
    if (page < 0 || page >= m_pageCount)
        return {};
    const std::unique_ptr<Poppler::Page> popplerPage = m_document->page(page);
    return popplerPage ? popplerPage->pageSizeF() : QSizeF();
}

QImage PopplerPdfDocument::renderPage(int page, double dpi,
                                      const std::function<bool()>& shouldAbort) const
{
    if (page < 0 || page >= m_pageCount || !(dpi > 0))
        return {};
    const std::unique_ptr<Poppler::Page> popplerPage = m_document->page(page);
    if (!popplerPage)
        return {};
    if (!shouldAbort)
        return popplerPage->renderToImage(dpi, dpi);
    QImage image = popplerPage->renderToImage(
        dpi, dpi, -1, -1, -1, -1, Poppler::Page::Rotate0, nullptr, nullptr, abortRequested,
        QVariant::fromValue(static_cast<void*>(const_cast<std::function<bool()>*>(&shouldAbort))));
    return shouldAbort() ? QImage() : image;
}
