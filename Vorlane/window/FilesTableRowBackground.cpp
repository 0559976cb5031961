#include "FilesTableRowBackground.h"

QRectF FilesTableRowBackground::markerRect(const QRect& rowRect)
{
    return QRectF(rowRect).adjusted(horizontalInset, verticalInset, -horizontalInset,
                                    -verticalInset);
}

void FilesTableRowBackground::drawBackground(QPainter* painter, const QRect& rowRect,
                                             SelectionMarker::State state)
{
    SelectionMarker::draw(painter, markerRect(rowRect), radius, state);
}
