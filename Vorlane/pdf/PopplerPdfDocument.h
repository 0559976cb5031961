#pragma once

#include "PdfDocument.h"

#include <memory>

namespace Poppler {
class Document;
}

// A PDF document read and rendered by Poppler, antialiased.
class PopplerPdfDocument final : public PdfDocument
{
public:
    PopplerPdfDocument(std::unique_ptr<Poppler::Document> document, int pageCount);
    ~PopplerPdfDocument() override;

    int pageCount() const override { return m_pageCount; }
    QSizeF pageSize(int page) const override;
    QImage renderPage(int page, double dpi,
                      const std::function<bool()>& shouldAbort) const override;

private:
    std::unique_ptr<Poppler::Document> m_document;
    int m_pageCount = 0;
};
