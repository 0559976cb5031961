#include "SelectionMarker.h"

#include "ThemePalette.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionViewItem>
#include <QWidget>

SelectionMarker::State SelectionMarker::stateOf(const QStyleOptionViewItem& option)
{
    if (option.state & QStyle::State_Selected) {
        const bool focused = option.widget && option.widget->hasFocus();
        return focused ? State::selected : State::selectedUnfocused;
    }
    return option.state & QStyle::State_MouseOver ? State::hovered : State::none;
}

void SelectionMarker::draw(QPainter* painter, const QRectF& area, qreal radius, State state)
{
    if (state == State::none)
        return;
    const ThemePalette& theme = themePalette();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (state == State::selectedUnfocused) {
        // The outline inside the area, so it is as wide as the filled marker.
        const qreal inset = outlineWidth / 2;
        painter->setPen(QPen(theme.unfocusedSelectionColor, outlineWidth));
        painter->setBrush(Qt::NoBrush);
        painter->drawRoundedRect(area.adjusted(inset, inset, -inset, -inset), radius - inset,
                                 radius - inset);
    } else {
        QPainterPath path;
        path.addRoundedRect(area, radius, radius);
        painter->fillPath(path, state == State::selected ? theme.selectionColor : theme.hoverColor);
    }
    painter->restore();
}

QColor SelectionMarker::textColor(State state, const QColor& normal)
{
    return state == State::selected ? themePalette().selectedTextColor : normal;
}
