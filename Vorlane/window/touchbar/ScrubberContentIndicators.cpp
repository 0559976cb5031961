#include "ScrubberContentIndicators.h"

#include <QLinearGradient>
#include <QPainter>
#include <QScrollBar>

ScrubberContentIndicators::ScrubberContentIndicators(const QScrollBar* position, QWidget* viewport)
    : QWidget(viewport)
    , m_position(position)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

bool ScrubberContentIndicators::showsLeading() const
{
    return m_position->value() > m_position->minimum();
}

bool ScrubberContentIndicators::showsTrailing() const
{
    return m_position->value() < m_position->maximum();
}

void ScrubberContentIndicators::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (showsLeading())
        paintFade(painter, QRect(0, 0, fadeWidth, height()), true);
    if (showsTrailing())
        paintFade(painter, QRect(width() - fadeWidth, 0, fadeWidth, height()), false);
}

void ScrubberContentIndicators::paintFade(QPainter& painter, const QRect& area, bool leading) const
{
    // From the strip's own background at the edge to nothing.
    const QColor background = palette().color(QPalette::Window);
    QColor clear = background;
    clear.setAlpha(0);
    QColor half = background;
    half.setAlphaF(0.75f);
    // Eased, so that an item cut by the edge fades out rather than ends in a band.
    QLinearGradient fade(area.topLeft(), area.topRight());
    fade.setColorAt(leading ? 1 : 0, clear);
    fade.setColorAt(0.5, half);
    fade.setColorAt(leading ? 0 : 1, background);
    painter.fillRect(area, fade);
}
