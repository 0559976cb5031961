#include "ButtonSegmentedControl.h"

#include "ButtonSegmentedCell.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

ButtonSegmentedControl::ButtonSegmentedControl(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void ButtonSegmentedControl::setSelectedSegment(int segment)
{
    if (segment < 0 || segment >= segmentCount || segment == m_selectedSegment)
        return;
    m_selectedSegment = segment;
    setAccessibleDescription(segment == 0 ? tr("List") : tr("Grid"));
    update();
}

QRect ButtonSegmentedControl::segmentFrame(int segment) const
{
    const int segmentWidth = width() / segmentCount;
    const int x = segment * segmentWidth;
    const int w = segment == segmentCount - 1 ? width() - x : segmentWidth;
    return {x, 0, w, height()};
}

int ButtonSegmentedControl::segmentAt(const QPoint& pos) const
{
    for (int segment = 0; segment < segmentCount; ++segment) {
        if (segmentFrame(segment).contains(pos))
            return segment;
    }
    return -1;
}

bool ButtonSegmentedControl::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int segment = segmentAt(help->pos());
        if (segment >= 0)
            QToolTip::showText(help->globalPos(), ButtonSegmentedCell::toolTip(segment), this,
                               segmentFrame(segment));
        return true;
    }
    return QWidget::event(event);
}

void ButtonSegmentedControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int segment = 0; segment < segmentCount; ++segment)
        ButtonSegmentedCell::drawSegment(&painter, segment, segmentFrame(segment),
                                         segment == m_selectedSegment);
}

void ButtonSegmentedControl::mousePressEvent(QMouseEvent* event)
{
    const int segment = segmentAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || segment < 0)
        return QWidget::mousePressEvent(event);
    setSelectedSegment(segment);
    Q_EMIT segmentActivated(segment);
}
