#include "ScrubberFlowLayout.h"

#include <algorithm>

ScrubberFlowLayout::ScrubberFlowLayout(QSize itemSize, int itemSpacing)
    : m_itemSize(itemSize)
    , m_itemSpacing(std::max(0, itemSpacing))
{}

QRect ScrubberFlowLayout::frameForItem(int index, int rowHeight) const
{
    const int step = m_itemSize.width() + m_itemSpacing;
    return {index * step, (rowHeight - m_itemSize.height()) / 2, m_itemSize.width(),
            m_itemSize.height()};
}

int ScrubberFlowLayout::itemAt(int x, int count) const
{
    const int step = m_itemSize.width() + m_itemSpacing;
    if (count <= 0 || step <= 0 || x < 0 || x >= contentWidth(count))
        return -1;
    // Half the gap before an item counts as that item's.
    return std::min(count - 1, (x + m_itemSpacing / 2) / step);
}

int ScrubberFlowLayout::contentWidth(int count) const
{
    if (count <= 0)
        return 0;
    return count * m_itemSize.width() + (count - 1) * m_itemSpacing;
}
