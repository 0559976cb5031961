#include "OnboardingButton.h"

#include <QPainter>
#include <QPainterPath>

OnboardingButton::OnboardingButton(QWidget* parent)
    : QPushButton(tr("Continue"), parent)
{
    setCursor(Qt::PointingHandCursor);
    QFont title = font();
    title.setPixelSize(titlePixelSize);
    title.setWeight(QFont::Normal);
    setFont(title);
}

void OnboardingButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    // A little darker while pressed, so the click shows.
    painter.fillPath(shape, isDown() ? fillColor().darker(115) : fillColor());
    if (hasFocus()) {
        painter.setPen(QPen(QColor(255, 255, 255, 160), 1.5));
        painter.drawRoundedRect(QRectF(rect()).adjusted(2.5, 2.5, -2.5, -2.5), cornerRadius - 2,
                                cornerRadius - 2);
    }
    painter.setPen(Qt::white);
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, text());
}
