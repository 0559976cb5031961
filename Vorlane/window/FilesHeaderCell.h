#pragma once

class QPainter;
class QRect;
class QString;

// A date heading of the files list ("TODAY", "THIS WEEK", ...): small capitals in the theme's
// heading colour, sitting on the bottom of its row, in line with the files' icons. The first
// heading's row is short, so the list starts close to the top.
class FilesHeaderCell
{
public:
    static constexpr int firstRowHeight = 10;
    static constexpr int rowHeight = 24;
    static constexpr int leading = 18;

    static void draw(QPainter* painter, const QRect& rowRect, const QString& text, bool firstRow);
};
