#pragma once

#include "GridItemTitle.h"

#include <QRect>

#include <algorithm>

// Where the parts of a grid item go within its cell: the square that holds the picture at the
// top, the title under it and the date under the title, all centred. Only those parts count as
// the item: a click in the blank margin around them is a click on the background.
class GridItemLayout
{
public:
    static constexpr int itemWidth = 124;
    static constexpr int itemHeight = 172;
    static constexpr int thumbnailSize = 96;
    // The file manager's icon stands in the square, smaller, while the location is on display.
    static constexpr int finderIconSize = 52;
    static constexpr int topMargin = 10;
    static constexpr int titleGap = 7;
    static constexpr int dateGap = 1;
    // The title spans the cell less this much: cells widen to share the pane's width.
    static constexpr int titleInset = 6;

    // cell is the item's rectangle in the view; title the text shown under the picture.
    GridItemLayout(const QRect& cell, const QString& title);

    QRect thumbnailContainer() const { return m_thumbnail; }
    const GridItemTitle& title() const { return m_title; }
    QRect titleField() const { return m_titleField; }
    QRect dateLabel() const { return m_dateLabel; }
    static int titleWidthIn(const QRect& cell) { return std::max(1, cell.width() - titleInset); }

    bool hitsItemContent(const QPoint& point) const;

private:
    GridItemTitle m_title;
    QRect m_thumbnail;
    QRect m_titleField;
    QRect m_dateLabel;
};
