#include "PreviewPdfDocument.h"

#include "PdfModule.h"
#include "PdfReader.h"
#include "PreviewFit.h"

std::shared_ptr<PreviewPdfDocument> PreviewPdfDocument::open(const QString& path)
{
    const PdfReader* reader = PdfModule::reader();
    if (!reader)
        return nullptr;
    std::unique_ptr<PdfDocument> document = reader->open(path, PdfReader::TextHinting::on);
    if (!document)
        return nullptr;
    return std::shared_ptr<PreviewPdfDocument>(new PreviewPdfDocument(std::move(document)));
}

PreviewPdfDocument::PreviewPdfDocument(std::unique_ptr<PdfDocument> document)
    : m_document(std::move(document))
    , m_pageCount(m_document->pageCount())
{}

PreviewPdfDocument::~PreviewPdfDocument() = default;

QImage PreviewPdfDocument::renderPage(int page, const QSize& box, double devicePixelRatio,
                                      const std::function<bool()>& shouldAbort) const
{
    if (page < 0 || page >= m_pageCount || box.isEmpty())
        return {};
    const QMutexLocker lock(&m_rendering);
    const QSizeF points = m_document->pageSize(page);
    if (points.isEmpty())
        return {};
    // Points are 1/72 inch; the page just fits into the box, in device pixels.
    const double scale = PreviewFit::scaleToFit(points, QSizeF(box));
    const double dpi = 72.0 * scale * devicePixelRatio;
    if (!(dpi > 0))
        return {};
    QImage image = m_document->renderPage(page, dpi, shouldAbort);
    if (image.isNull())
        return {};
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}
