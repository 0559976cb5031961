#pragma once

class QScrollBar;

// A thin vertical scroll bar in the look's text colour, over a clear track: it shows where the
// view stands without taking the eye from the contents. Applied again when the palette changes.
class SlimScrollBar
{
public:
    static constexpr int width = 6;

    static void apply(QScrollBar* scrollBar);
};
