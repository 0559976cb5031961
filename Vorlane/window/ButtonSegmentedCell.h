#pragma once

#include <QString>

class QPainter;
class QRect;

// How the view switch draws its segments: no bezel, no border, only the program's artwork, the
// highlighted image ("ListHover_", "GridHover_") for the selected segment and the plain one
// ("List_", "Grid_") for the other, in the current look ("light" or "dark").
class ButtonSegmentedCell
{
public:
    // Segment 0 is the list, any other the grid.
    static QString imageName(int segment, bool selected, const QString& style);
    static QString toolTip(int segment);
    // Draws the segment's image at its own size, centred in frame with the origin rounded down.
    static void drawSegment(QPainter* painter, int segment, const QRect& frame, bool selected);
};
