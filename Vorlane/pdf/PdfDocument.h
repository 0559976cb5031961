#pragma once

#include <QImage>
#include <QSizeF>

#include <functional>

// An open PDF document as the PDF module gives it: its pages' sizes and their pictures. One
// document renders on one thread at a time; its owner makes the renders take turns.
class PdfDocument
{
public:
    virtual ~PdfDocument() = default;

    virtual int pageCount() const = 0;
    // The page's size in points (1/72 inch); empty for a page that cannot be read.
    virtual QSizeF pageSize(int page) const = 0;
    // The page at dots per inch across and down; a null image when it cannot be rendered or
    // shouldAbort (which may be empty) answered true on the way.
    virtual QImage renderPage(int page, double dpi,
                              const std::function<bool()>& shouldAbort) const = 0;
};
