#include "PreviewLoader.h"

#include "PreviewFit.h"
#include "PreviewImageDecoder.h"
#include "PreviewPdfDocument.h"
#include "PreviewTextReader.h"

#include <QMargins>
#include <QTextOption>
#include <QThread>

#include <algorithm>

namespace {
// Space between the text and the edges of the view.
constexpr int textMargin = 12;

void loadPicture(PreviewContent& content, const PreviewLoader::Request& request)
{
    const QSize pixels = PreviewFit::devicePixels(request.box, request.devicePixelRatio);
    std::optional<PreviewImageDecoder::Picture> decoded =
        PreviewImageDecoder::decode(content.facts.path, pixels);
    if (!decoded)
        return;
    content.kind = decoded->animated ? PreviewKind::animation : PreviewKind::picture;
    content.picture = std::move(decoded->image);
    content.picture.setDevicePixelRatio(request.devicePixelRatio);
    content.naturalSize = decoded->naturalSize;
}

void loadPdfPage(PreviewContent& content, const PreviewLoader::Request& request,
                 const std::function<bool()>& isStale)
{
    std::shared_ptr<PreviewPdfDocument> document =
        request.pdf ? request.pdf : PreviewPdfDocument::open(content.facts.path);
    if (!document)
        return;
    const int page = std::clamp(request.page, 0, document->pageCount() - 1);
    const QMargins margins(request.pageMargin, request.pageMargin, request.pageMargin,
                           request.pageMargin);
    const QSize box = request.box.shrunkBy(margins).expandedTo(QSize(1, 1));
    QImage image = document->renderPage(page, box, request.devicePixelRatio, isStale);
    if (image.isNull())
        return;
    content.kind = PreviewKind::pdfPage;
    content.picture = std::move(image);
    content.page = page;
    content.pageCount = document->pageCount();
    content.pdf = std::move(document);
}

void loadText(PreviewContent& content, const PreviewLoader::Request& request)
{
    std::optional<QString> text = PreviewTextReader::read(content.facts.path);
    if (!text)
        return;
    // The document is filled here, where it costs the window nothing; the view lays out only
    // the lines it shows.
    auto document = std::make_shared<QTextDocument>();
    document->setDefaultFont(request.textFont);
    QTextOption option = document->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    if (request.tabStopDistance > 0)
        option.setTabStopDistance(request.tabStopDistance);
    document->setDefaultTextOption(option);
    document->setDocumentMargin(textMargin);
    document->setUndoRedoEnabled(false);
    document->setPlainText(*text);
    if (request.uiThread)
        document->moveToThread(request.uiThread);
    content.kind = PreviewKind::text;
    content.text = std::move(document);
}
} // namespace

PreviewContent PreviewLoader::load(const Request& request, const std::function<bool()>& isStale)
{
    PreviewContent content;
    content.ticket = request.ticket;
    content.facts = PreviewFileFacts::read(request.fileUrl);
    content.kind = PreviewKind::icon;
    if (!content.facts.isRegularFile || isStale())
        return content;
    const QMimeType& type = content.facts.mimeType;
    if (PreviewImageDecoder::handles(type))
        loadPicture(content, request);
    else if (type.inherits(QStringLiteral("application/pdf")))
        loadPdfPage(content, request, isStale);
    else if (type.inherits(QStringLiteral("text/plain")))
        loadText(content, request);
    return content;
}
