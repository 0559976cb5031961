#pragma once

#include "PreviewFileFacts.h"
#include "PreviewKind.h"

#include <QImage>
#include <QSize>
#include <QTextDocument>

#include <memory>

class PreviewPdfDocument;

// One answer of the loader: what to show of a document, made off the UI thread and handed to
// the view through its event queue.
class PreviewContent
{
public:
    // Which request this answers; answers to earlier requests are dropped.
    quint64 ticket = 0;
    PreviewKind kind = PreviewKind::nothing;
    PreviewFileFacts facts;
    // A picture, an animation's first frame or a PDF page, with the screen's density set.
    QImage picture;
    // A picture's own size, before it was fitted.
    QSize naturalSize;
    // The PDF page shown, counted from 0, and the number of pages.
    int page = 0;
    int pageCount = 0;
    // Kept open for turning pages.
    std::shared_ptr<PreviewPdfDocument> pdf;
    // A text file's start, laid out as plain text. Made on a worker and moved to the UI thread.
    std::shared_ptr<QTextDocument> text;
};
