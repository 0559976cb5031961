#include "FilesTableRowBackground.h"

#include "ThemePalette.h"

#include <QPainter>
#include <QPainterPath>
#include <QPalette>

QRectF FilesTableRowBackground::markerRect(const QRect& rowRect)
{
    return QRectF(rowRect).adjusted(horizontalInset, verticalInset, -horizontalInset,
                                    -verticalInset);
}

void FilesTableRowBackground::drawBackground(QPainter* painter, const QRect& rowRect,
                                             const QPalette& palette, bool selected, bool hovered)
{
    if (!selected && !hovered)
        return;
    QColor marker = selected ? palette.color(QPalette::Active, QPalette::Highlight)
                             : themePalette().selectionColor;
    if (!selected)
        marker.setAlphaF(marker.alphaF() * 0.6f);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(markerRect(rowRect), radius, radius);
    painter->fillPath(path, marker);
    painter->restore();
}
