#pragma once

#include <QImage>
#include <QMutex>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

class PdfDocument;

// An open PDF document whose pages are rendered one at a time, on demand, off the UI thread.
// A PDF document is not rendered on two threads at once: the renders take turns.
class PreviewPdfDocument
{
public:
    // Nothing for a damaged, locked or empty document, or when the PDF module cannot be loaded.
    static std::shared_ptr<PreviewPdfDocument> open(const QString& path);
    ~PreviewPdfDocument();

    int pageCount() const { return m_pageCount; }

    // The page (counted from 0) fitted into box (logical pixels) at the density of the screen;
    // a null image when the page cannot be rendered or shouldAbort answered true on the way.
    QImage renderPage(int page, const QSize& box, double devicePixelRatio,
                      const std::function<bool()>& shouldAbort) const;

private:
    explicit PreviewPdfDocument(std::unique_ptr<PdfDocument> document);

    std::unique_ptr<PdfDocument> m_document;
    int m_pageCount = 0;
    mutable QMutex m_rendering;
};
