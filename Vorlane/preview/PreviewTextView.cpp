#include "PreviewTextView.h"

#include <QFontDatabase>
#include <QPlainTextDocumentLayout>

namespace {
constexpr int spacesPerTab = 4;
}

PreviewTextView::PreviewTextView(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setFocusPolicy(Qt::NoFocus);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setTabStopDistance(tabStopDistanceForFont());
}

PreviewTextView::~PreviewTextView()
{
    // The editor lets go of the document before the document goes.
    clearDocument();
}

void PreviewTextView::showDocument(std::shared_ptr<QTextDocument> document)
{
    if (!document)
        return clearDocument();
    document->setDocumentLayout(new QPlainTextDocumentLayout(document.get()));
    setDocument(document.get());
    m_document = std::move(document);
}

void PreviewTextView::clearDocument()
{
    if (!m_document)
        return;
    setDocument(nullptr);
    m_document.reset();
}

double PreviewTextView::tabStopDistanceForFont() const
{
    return fontMetrics().horizontalAdvance(QLatin1Char(' ')) * spacesPerTab;
}

void PreviewTextView::paintEvent(QPaintEvent* event)
{
    QPlainTextEdit::paintEvent(event);
    Q_EMIT painted();
}
