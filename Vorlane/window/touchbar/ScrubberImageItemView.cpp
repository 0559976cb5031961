#include "ScrubberImageItemView.h"

#include <QPainter>
#include <QStyle>

ScrubberImageItemView::ScrubberImageItemView(QWidget* parent)
    : ScrubberItemView(parent)
{}

void ScrubberImageItemView::setImage(const QPixmap& image)
{
    m_image = image;
    update();
}

void ScrubberImageItemView::setImageAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

QRect ScrubberImageItemView::imageRect() const
{
    if (m_image.isNull())
        return {};
    const QSize natural = m_image.deviceIndependentSize().toSize();
    // Scaled down to fit, never up.
    const QSize drawn = natural.width() <= width() && natural.height() <= height()
                            ? natural
                            : natural.scaled(size(), Qt::KeepAspectRatio);
    return QStyle::alignedRect(layoutDirection(), m_alignment, drawn, rect());
}

void ScrubberImageItemView::paintEvent(QPaintEvent*)
{
    if (m_image.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(imageRect(), m_image);
}
