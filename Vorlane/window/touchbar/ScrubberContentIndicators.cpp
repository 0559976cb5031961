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
    QLinearGradient fade(area.topLeft(), area.topRight());
    fade.setColorAt(0, leading ? background : clear);
    fade.setColorAt(1, leading ? clear : background);
    painter.fillRect(area, fade);
}
