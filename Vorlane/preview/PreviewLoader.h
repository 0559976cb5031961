#pragma once

#include "PreviewContent.h"

#include <QFont>
#include <QSize>
#include <QUrl>

#include <functional>
#include <memory>

class QThread;

// Works out, off the UI thread, what the preview shows of a document: its kind by its type, then
// the picture, the page or the text; the icon page when nothing else can be shown.
class PreviewLoader
{
public:
    struct Request
    {
        quint64 ticket = 0;
        QUrl fileUrl;
        // The space to fill, in logical pixels, and the density of the screen it is on.
        QSize box;
        double devicePixelRatio = 1.0;
        // For a PDF: the page wanted, the space kept free around it, and the document when it
        // is open already.
        int page = 0;
        int pageMargin = 0;
        std::shared_ptr<PreviewPdfDocument> pdf;
        // For text: how it is laid out, and the thread that shows it.
        QFont textFont;
        double tabStopDistance = 0;
        QThread* uiThread = nullptr;
    };

    // isStale answers true once the answer is no longer wanted; the work then stops where it can.
    static PreviewContent load(const Request& request, const std::function<bool()>& isStale);
};
