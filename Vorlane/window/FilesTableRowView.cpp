#include "FilesTableRowView.h"

QRectF FilesTableRowView::markerRect(const QRect& rowRect)
{
    return QRectF(rowRect).adjusted(horizontalInset, verticalInset, -horizontalInset,
                                    -verticalInset);
}

void FilesTableRowView::drawBackground(QPainter* painter, const QRect& rowRect,
                                       SelectionMarker::State state)
{
    SelectionMarker::draw(painter, markerRect(rowRect), radius, state);
}
