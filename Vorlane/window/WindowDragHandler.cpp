#include "WindowDragHandler.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

WindowDragHandler::WindowDragHandler(QWidget* window)
    : QObject(window)
    , m_window(window)
{
    qApp->installEventFilter(this);
}

Qt::Edges WindowDragHandler::edgesAt(const QPoint& pos, const QSize& size)
{
    Qt::Edges edges;
    if (pos.x() < edgeWidth)
        edges |= Qt::LeftEdge;
    if (pos.x() >= size.width() - edgeWidth)
        edges |= Qt::RightEdge;
    if (pos.y() < edgeWidth)
        edges |= Qt::TopEdge;
    if (pos.y() >= size.height() - edgeWidth)
        edges |= Qt::BottomEdge;
    return edges;
}

bool WindowDragHandler::belongsToWindow(QObject* object) const
{
    const auto* widget = qobject_cast<QWidget*>(object);
    return widget && widget->window() == m_window;
}

bool WindowDragHandler::eventFilter(QObject* watched, QEvent* event)
{
    const bool isMouse =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove;
    if (!isMouse || !(m_window->windowFlags() & Qt::FramelessWindowHint) ||
        !belongsToWindow(watched))
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    return event->type() == QEvent::MouseButtonPress
               ? mousePressed(static_cast<QWidget*>(watched), mouse)
               : mouseMoved(mouse);
}

bool WindowDragHandler::isControlAt(const QWidget* target, const QPoint& globalPos) const
{
    for (const QWidget* widget = target; widget && widget != m_window;
         widget = widget->parentWidget()) {
        if (qobject_cast<const QAbstractSlider*>(widget) ||
            qobject_cast<const QAbstractButton*>(widget))
            return true;
        if (const auto* view = qobject_cast<const QAbstractItemView*>(widget))
            return view->indexAt(view->viewport()->mapFromGlobal(globalPos)).isValid();
    }
    return false;
}

bool WindowDragHandler::mousePressed(const QWidget* target, QMouseEvent* event)
{
    m_pressInTitleArea = false;
    if (event->button() != Qt::LeftButton || !m_window->windowHandle())
        return false;
    const QPoint pos = m_window->mapFromGlobal(event->globalPosition().toPoint());
    if (const Qt::Edges edges = edgesAt(pos, m_window->size()))
        return m_window->windowHandle()->startSystemResize(edges);
    // A click in the title area still reaches what is under it; only a drag moves the window,
    // and only where the drag is not an item's, a scroll bar's or a button's own.
    m_pressPosition = event->globalPosition().toPoint();
    m_pressInTitleArea = pos.y() < titleAreaHeight && !isControlAt(target, m_pressPosition);
    return false;
}

bool WindowDragHandler::mouseMoved(QMouseEvent* event)
{
    if (!m_pressInTitleArea || !(event->buttons() & Qt::LeftButton))
        return false;
    const QPoint moved = event->globalPosition().toPoint() - m_pressPosition;
    if (moved.manhattanLength() < QApplication::startDragDistance())
        return false;
    m_pressInTitleArea = false;
    return m_window->windowHandle()->startSystemMove();
}
