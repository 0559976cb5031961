#pragma once

#include "SelectionMarker.h"

#include <QtGlobal>

class QPainter;
class QRect;
class QRectF;

// The background of a row of the files list. The row draws nothing of its own unless it is
// selected or under the pointer, when it shows the rounded marker of that state.
class FilesTableRowBackground
{
public:
    static constexpr int horizontalInset = 8;
    static constexpr int verticalInset = 1;
    static constexpr qreal radius = 6;

    static void drawBackground(QPainter* painter, const QRect& rowRect,
                               SelectionMarker::State state);
    static QRectF markerRect(const QRect& rowRect);
};
