#include "PreviewContentView.h"

#include "PreviewContent.h"
#include "PreviewFit.h"
#include "PreviewIconPage.h"
#include "PreviewLoader.h"
#include "PreviewPictureView.h"
#include "PreviewTextView.h"

#include <QKeyEvent>
#include <QMovie>
#include <QStackedLayout>

namespace {
// Two workers: a slow document left behind does not hold up the next one.
constexpr int previewWorkers = 2;
// A resize settles before pictures are made again at the new size.
constexpr int renderAgainDelayMs = 150;
// The previous document's content may stand in while the next one loads, but not for long.
constexpr int blankAfterMs = 250;
// Keeps the edges of a white page visible.
constexpr int pdfPageMargin = 8;
constexpr int smallestBox = 32;
} // namespace

PreviewContentView::PreviewContentView(QWidget* parent)
    : QWidget(parent)
    , m_pages(new QStackedLayout(this))
    , m_blank(new QWidget(this))
    , m_picture(new PreviewPictureView(this))
    , m_text(new PreviewTextView(this))
    , m_icon(new PreviewIconPage(this))
{
    // Painted with the look's own colours, so a change of look repaints it correctly.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    for (QWidget* page : {m_blank, static_cast<QWidget*>(m_picture), static_cast<QWidget*>(m_text),
                          static_cast<QWidget*>(m_icon)})
        m_pages->addWidget(page);
    m_pages->setCurrentWidget(m_blank);

    connect(m_picture, &PreviewPictureView::painted, this, [this] { pagePainted(m_picture); });
    connect(m_text, &PreviewTextView::painted, this, [this] { pagePainted(m_text); });
    connect(m_icon, &PreviewIconPage::painted, this, [this] { pagePainted(m_icon); });
    connect(m_picture, &PreviewPictureView::densityChanged, this,
            [this] { m_renderAgain.start(); });

    m_renderAgain.setSingleShot(true);
    m_renderAgain.setInterval(renderAgainDelayMs);
    connect(&m_renderAgain, &QTimer::timeout, this, &PreviewContentView::renderAgain);
    m_blankWhileLoading.setSingleShot(true);
    m_blankWhileLoading.setInterval(blankAfterMs);
    connect(&m_blankWhileLoading, &QTimer::timeout, this, [this] {
        if (m_kind == PreviewKind::nothing)
            showBlank();
    });
    m_workers.setMaxThreadCount(previewWorkers);
    m_workers.setObjectName(QStringLiteral("Vorlane.Preview"));
}

PreviewContentView::~PreviewContentView()
{
    // Work still running stops where it can; none of it outlives the view.
    ++m_latestTicket;
    m_workers.clear();
    m_workers.waitForDone();
    stopAnimation();
}

void PreviewContentView::showItem(const QUrl& fileUrl)
{
    m_item = fileUrl;
    ++m_itemSerial;
    m_kind = PreviewKind::nothing;
    m_page = 0;
    m_pageCount = 0;
    m_pdf.reset();
    m_shownOnce = false;
    m_announcePending = false;
    m_renderAgain.stop();
    stopAnimation();
    if (fileUrl.isEmpty()) {
        // Answers still on their way are for earlier documents.
        ++m_latestTicket;
        m_blankWhileLoading.stop();
        showBlank();
        return;
    }
    m_blankWhileLoading.start();
    requestContent();
}

QSize PreviewContentView::contentBox() const
{
    return size().expandedTo(QSize(smallestBox, smallestBox));
}

void PreviewContentView::requestContent()
{
    PreviewLoader::Request request;
    request.ticket = ++m_latestTicket;
    request.fileUrl = m_item;
    request.box = contentBox();
    request.devicePixelRatio = devicePixelRatioF();
    request.page = m_page;
    request.pageMargin = pdfPageMargin;
    request.pdf = m_pdf;
    request.textFont = m_text->font();
    request.tabStopDistance = m_text->tabStopDistanceForFont();
    request.uiThread = thread();
    m_requestedBox = request.box;
    m_requestedDensity = request.devicePixelRatio;
    ++m_pendingAnswers;
    m_workers.start([this, request] {
        const auto isStale = [this, ticket = request.ticket] {
            return m_latestTicket.load() != ticket;
        };
        PreviewContent content;
        content.ticket = request.ticket;
        if (!isStale())
            content = PreviewLoader::load(request, isStale);
        QMetaObject::invokeMethod(
            this, [this, content = std::move(content)]() mutable { receive(std::move(content)); },
            Qt::QueuedConnection);
    });
}

void PreviewContentView::receive(PreviewContent content)
{
    --m_pendingAnswers;
    if (content.ticket == m_latestTicket.load())
        apply(content);
}

void PreviewContentView::apply(PreviewContent& content)
{
    m_blankWhileLoading.stop();
    stopAnimation();
    m_kind = content.kind;
    m_page = content.page;
    m_pageCount = content.pageCount;
    m_pdf = std::move(content.pdf);
    m_naturalSize = content.naturalSize;
    switch (m_kind) {
    case PreviewKind::picture:
    case PreviewKind::animation:
    case PreviewKind::pdfPage:
        m_picture->setMargin(m_kind == PreviewKind::pdfPage ? pdfPageMargin : 0);
        m_picture->setPicture(content.picture);
        m_picture->setPageLabel(pageLabel());
        showPage(m_picture);
        if (m_kind == PreviewKind::animation)
            startAnimation(content.facts.path);
        break;
    case PreviewKind::text:
        m_text->showDocument(std::move(content.text));
        showPage(m_text);
        break;
    case PreviewKind::icon:
        m_icon->setFacts(content.facts);
        showPage(m_icon);
        break;
    case PreviewKind::nothing:
        showBlank();
        break;
    }
    if (!std::exchange(m_shownOnce, true))
        announceWhenPainted();
}

void PreviewContentView::showPage(QWidget* page)
{
    m_pages->setCurrentWidget(page);
    // What other pages hold is let go of: a photo or a long text is not kept for nothing.
    if (page != m_picture)
        m_picture->setPicture({});
    if (page != m_text)
        m_text->clearDocument();
}

void PreviewContentView::showBlank()
{
    showPage(m_blank);
}

void PreviewContentView::announceWhenPainted()
{
    m_announcePending = true;
    // A view that is not on screen is never painted: it says so at once.
    if (!isVisible())
        pagePainted(m_pages->currentWidget());
}

void PreviewContentView::pagePainted(QWidget* page)
{
    if (!m_announcePending || page != m_pages->currentWidget())
        return;
    m_announcePending = false;
    // Not from inside the paint: whoever listens may well change what is shown.
    QMetaObject::invokeMethod(
        this,
        [this, serial = m_itemSerial] {
            if (serial == m_itemSerial)
                Q_EMIT contentShown(m_item);
        },
        Qt::QueuedConnection);
}

bool PreviewContentView::handleKey(QKeyEvent* event)
{
    if (!event || event->type() != QEvent::KeyPress || m_kind != PreviewKind::pdfPage)
        return false;
    switch (event->key()) {
    case Qt::Key_PageDown:
        turnPage(m_page + 1);
        return true;
    case Qt::Key_PageUp:
        turnPage(m_page - 1);
        return true;
    default:
        return false;
    }
}

void PreviewContentView::turnPage(int page)
{
    if (page < 0 || page >= m_pageCount || page == m_page)
        return;
    // The label moves at once; the page it names follows when it has been rendered.
    m_page = page;
    m_picture->setPageLabel(pageLabel());
    requestContent();
}

QString PreviewContentView::pageLabel() const
{
    if (m_kind != PreviewKind::pdfPage || m_pageCount < 2)
        return {};
    return tr("Page %1 of %2").arg(m_page + 1).arg(m_pageCount);
}

void PreviewContentView::startAnimation(const QString& path)
{
    m_movie = std::make_unique<QMovie>(path);
    fitAnimation();
    connect(m_movie.get(), &QMovie::frameChanged, this, [this] {
        QImage frame = m_movie->currentImage();
        frame.setDevicePixelRatio(devicePixelRatioF());
        m_picture->setPicture(frame);
    });
    m_movie->start();
}

void PreviewContentView::stopAnimation()
{
    if (!m_movie)
        return;
    m_movie->disconnect(this);
    m_movie->stop();
    m_movie.reset();
}

void PreviewContentView::fitAnimation()
{
    if (!m_movie || !m_naturalSize.isValid())
        return;
    const QSize pixels = PreviewFit::devicePixels(contentBox(), devicePixelRatioF());
    m_movie->setScaledSize(PreviewFit::shrunk(m_naturalSize, pixels));
}

void PreviewContentView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_kind == PreviewKind::animation)
        fitAnimation();
    else if (m_kind == PreviewKind::picture || m_kind == PreviewKind::pdfPage || isLoading())
        m_renderAgain.start();
}

void PreviewContentView::renderAgain()
{
    if (m_item.isEmpty() || m_kind == PreviewKind::animation || m_kind == PreviewKind::text ||
        m_kind == PreviewKind::icon)
        return;
    if (contentBox() == m_requestedBox && devicePixelRatioF() == m_requestedDensity)
        return;
    // A picture shown at its own size that still fits needs nothing new.
    const QSize pixels = PreviewFit::devicePixels(contentBox(), devicePixelRatioF());
    if (m_kind == PreviewKind::picture && m_picture->picture().size() == m_naturalSize &&
        PreviewFit::shrunk(m_naturalSize, pixels) == m_naturalSize &&
        devicePixelRatioF() == m_requestedDensity)
        return;
    requestContent();
}
