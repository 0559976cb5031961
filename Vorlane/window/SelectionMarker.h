#pragma once

#include <QColor>
#include <QRectF>

class QPainter;
class QStyleOptionViewItem;

// How the rows and items of the window's lists show the selection and the pointer, alike on both
// sides: the selection on the accent colour while its list has the keyboard focus, outlined in
// grey while the other side has it (so the user sees which side the keys move), and a faint
// shade under the pointer that never looks chosen. Selection and outline stand out from the
// lists' backgrounds by at least 3:1 in both looks.
class SelectionMarker
{
public:
    enum class State
    {
        none,
        hovered,
        selected,
        // Selected in a list that does not have the keyboard focus.
        selectedUnfocused,
    };

    static constexpr qreal outlineWidth = 2;

    // The state of the row or item the option describes, in the view it names.
    static State stateOf(const QStyleOptionViewItem& option);
    static bool isSelected(State state)
    {
        return state == State::selected || state == State::selectedUnfocused;
    }

    // Draws the marker of area's row or item; nothing for State::none.
    static void draw(QPainter* painter, const QRectF& area, qreal radius, State state);
    // The colour of text standing on the marker.
    static QColor textColor(State state, const QColor& normal);
};
