#pragma once

#include <QObject>
#include <QPoint>

class QMouseEvent;
class QWidget;

// Lets the user move and resize the frameless panel as a decorated window: dragging its title
// area (the top strip) moves it where no item, scroll bar or button is under the pointer (those
// keep their own drags), pressing its outer edge resizes it. The window manager does the
// moving, so it keeps its own snapping and limits. Does nothing while the window is decorated.
class WindowDragHandler : public QObject
{
    Q_OBJECT

public:
    static constexpr int titleAreaHeight = 22;
    static constexpr int edgeWidth = 4;

    explicit WindowDragHandler(QWidget* window);

    // The edges a press at pos (window coordinates) would resize; none for the inside.
    static Qt::Edges edgesAt(const QPoint& pos, const QSize& size);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool belongsToWindow(QObject* object) const;
    // Whether target, or the widget it belongs to, is an item, scroll bar or button at globalPos.
    bool isControlAt(const QWidget* target, const QPoint& globalPos) const;
    bool mousePressed(const QWidget* target, QMouseEvent* event);
    bool mouseMoved(QMouseEvent* event);

    QWidget* m_window;
    bool m_pressInTitleArea = false;
    QPoint m_pressPosition;
};
