#include "AppsTableCell.h"

#include "AppIconCache.h"
#include "AppsListModel.h"
#include "SelectionMarker.h"

#include <QPainter>

namespace {
constexpr qreal markerRadius = 14;

QRectF centred(const QRect& area, qreal side)
{
    return {area.center().x() + 1 - side / 2, area.center().y() + 1 - side / 2, side, side};
}
} // namespace

QSize AppsTableCell::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return {option.rect.width(), rowHeight};
}

void AppsTableCell::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const
{
    SelectionMarker::draw(painter, centred(option.rect, markerSize), markerRadius,
                          SelectionMarker::stateOf(option));
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const QPixmap icon = AppIconCache::shared().pixmap(
        index.data(AppsListModel::IconNameRole).toString(), iconSize, ratio);
    painter->drawPixmap(centred(option.rect, iconSize).topLeft(), icon);
}
