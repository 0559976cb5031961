#include "GridItemLayout.h"

#include "ThemePalette.h"

#include <QFontMetrics>

GridItemLayout::GridItemLayout(const QRect& cell, const QString& title)
    : m_title(GridItemTitle::laidOut(title, themePalette().gridTitleFont, titleWidthIn(cell)))
{
    const int titleWidth = titleWidthIn(cell);
    const int centre = cell.left() + cell.width() / 2;
    m_thumbnail =
        QRect(centre - thumbnailSize / 2, cell.top() + topMargin, thumbnailSize, thumbnailSize);
    m_titleField = QRect(centre - titleWidth / 2, m_thumbnail.bottom() + 1 + titleGap, titleWidth,
                         m_title.height());
    const int dateHeight = QFontMetrics(themePalette().gridDateFont).height();
    m_dateLabel =
        QRect(centre - titleWidth / 2, m_titleField.bottom() + 1 + dateGap, titleWidth, dateHeight);
}

bool GridItemLayout::hitsItemContent(const QPoint& point) const
{
    return m_thumbnail.contains(point) || m_titleField.contains(point) ||
           m_dateLabel.contains(point);
}
