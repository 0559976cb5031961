#pragma once

#include <QtGlobal>

class QPainter;
class QPalette;
class QRect;
class QRectF;

// The background of a row of the files list. The row draws nothing of its own unless it is
// selected, when it shows a rounded marker in the accent colour (the list always looks
// emphasized), or under the pointer, when a faint one shows.
class FilesTableRowBackground
{
public:
    static constexpr int horizontalInset = 8;
    static constexpr int verticalInset = 1;
    static constexpr qreal radius = 6;

    static void drawBackground(QPainter* painter, const QRect& rowRect, const QPalette& palette,
                               bool selected, bool hovered);
    static QRectF markerRect(const QRect& rowRect);
};
