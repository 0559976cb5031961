#include "IconTextItemView.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>

namespace {
// 13 points of the original artwork.
constexpr qreal textPoints = 13 * 0.75;
} // namespace

IconTextItemView::IconTextItemView(QWidget* parent)
    : ScrubberItemView(parent)
    , m_imageView(new QLabel(this))
    , m_textField(new QLabel(this))
{
    QFont font = QApplication::font();
    font.setPointSizeF(textPoints);
    m_textField->setFont(font);
    m_textField->setForegroundRole(QPalette::WindowText);
    m_textField->setTextFormat(Qt::PlainText);
    // The text gets what the icon leaves, however long it is.
    m_textField->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_imageView->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(1, 0, 1, 0);
    row->setSpacing(1);
    row->addWidget(m_imageView);
    row->addWidget(m_textField, 1, Qt::AlignVCenter);
    m_textField->installEventFilter(this);
}

IconTextItemView::IconTextItemView(const QRect& frame, const QPixmap& icon, const QString& text,
                                   QWidget* parent)
    : IconTextItemView(parent)
{
    setGeometry(frame);
    setImage(icon);
    setText(text);
}

void IconTextItemView::setImage(const QPixmap& image)
{
    m_imageView->setPixmap(image);
    m_imageView->setFixedWidth(image.isNull() ? 0 : image.deviceIndependentSize().toSize().width());
}

void IconTextItemView::setText(const QString& text)
{
    m_text = text;
    setAccessibleName(text);
    m_textField->setAccessibleName(text);
    elideText();
}

bool IconTextItemView::eventFilter(QObject* watched, QEvent* event)
{
    // Whenever the layout gives the text field another width.
    if (watched == m_textField && event->type() == QEvent::Resize)
        elideText();
    return ScrubberItemView::eventFilter(watched, event);
}

void IconTextItemView::elideText()
{
    const QFontMetrics metrics(m_textField->font());
    m_textField->setText(metrics.elidedText(m_text, Qt::ElideRight, m_textField->width()));
}
