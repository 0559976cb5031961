#pragma once

#include <QRect>
#include <QSize>

// Places a scrubber's items in one row, all of one size, a fixed spacing apart.
class ScrubberFlowLayout
{
public:
    ScrubberFlowLayout() = default;
    ScrubberFlowLayout(QSize itemSize, int itemSpacing);

    QSize itemSize() const { return m_itemSize; }
    int itemSpacing() const { return m_itemSpacing; }

    // Where item index lies in a row of the given height, centred on it from top to bottom.
    QRect frameForItem(int index, int rowHeight) const;
    // Which item the point x of the row lies on: the nearest, with the spacing on either side
    // shared between its neighbours; -1 outside the row of count items.
    int itemAt(int x, int count) const;
    int contentWidth(int count) const;

private:
    QSize m_itemSize{50, 30};
    int m_itemSpacing = 0;
};
