#include "GridItem.h"

#include "FileIconCache.h"
#include "GridItemLayout.h"
#include "RecentFilesModel.h"
#include "SelectionMarker.h"
#include "ThemePalette.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

QString GridItem::showInFinderTitle()
{
    return tr("Show in File Manager");
}

namespace {
constexpr qreal gridMarkerRadius = 8;
constexpr int gridMarkerOutset = 5;

bool gridLooksDark()
{
    return themePalette().appearanceName == AppearanceName::darkAqua;
}
} // namespace

QSize GridItem::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return m_cellSize.isValid() ? m_cellSize
                                : QSize(GridItemLayout::itemWidth, GridItemLayout::itemHeight);
}

QString GridItem::titleOf(const QModelIndex& index)
{
    return index.data(RecentFilesModel::ShowsPathRole).toBool()
               ? showInFinderTitle()
               : index.data(Qt::DisplayRole).toString();
}

void GridItem::paint(QPainter* painter, const QStyleOptionViewItem& option,
                     const QModelIndex& index) const
{
    const GridItemLayout view(option.rect, titleOf(index));
    const SelectionMarker::State state = SelectionMarker::stateOf(option);
    const bool selected = SelectionMarker::isSelected(state);
    const ThemePalette& theme = themePalette();
    if (state != SelectionMarker::State::none) {
        const QColor marker = selected ? theme.pictureMarkerColor : theme.hoverColor;
        QPainterPath path;
        path.addRoundedRect(
            QRectF(view.thumbnailContainer())
                .adjusted(-gridMarkerOutset, -gridMarkerOutset, gridMarkerOutset, gridMarkerOutset),
            gridMarkerRadius, gridMarkerRadius);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->fillPath(path, marker);
        painter->restore();
    }
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    if (index.data(RecentFilesModel::ShowsPathRole).toBool())
        drawPicture(
            painter, view.thumbnailContainer(),
            FileIconCache::shared().fileManagerPixmap(GridItemLayout::finderIconSize, ratio),
            QString());
    else
        drawPicture(painter, view.thumbnailContainer(),
                    index.data(Qt::DecorationRole).value<QPixmap>(),
                    index.data(RecentFilesModel::HasThumbnailRole).toBool()
                        ? index.data(RecentFilesModel::FileUrlRole).toUrl().toLocalFile()
                        : QString());

    const QPalette& palette = option.palette;
    // The title carries the selection, as the list's rows do: on the accent colour while the
    // grid has the focus, outlined while the applications have it.
    if (state == SelectionMarker::State::selected) {
        view.title().draw(painter, view.titleField(), theme.selectedTextColor,
                          theme.selectionColor);
    } else {
        // The outline goes round the marker, clear of the text.
        constexpr qreal outline = SelectionMarker::outlineWidth;
        if (state == SelectionMarker::State::selectedUnfocused)
            SelectionMarker::draw(painter,
                                  view.title()
                                      .markerRect(view.titleField())
                                      .adjusted(-outline, -outline, outline, outline),
                                  GridItemTitle::backgroundRadius + outline, state);
        view.title().draw(painter, view.titleField(), theme.gridTitleColor, std::nullopt);
    }

    QColor dateColor = palette.color(QPalette::Active, QPalette::Text);
    dateColor.setAlphaF(gridLooksDark() ? 0.55f : 0.5f);
    painter->save();
    painter->setFont(theme.gridDateFont);
    painter->setPen(dateColor);
    painter->drawText(view.dateLabel(), Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(RecentFilesModel::RelativeDateRole).toString());
    painter->restore();
}

void GridItem::drawPicture(QPainter* painter, const QRect& square, const QPixmap& pixmap,
                           const QString& framedKey) const
{
    if (pixmap.isNull())
        return;
    const bool framed = !framedKey.isEmpty();
    const QSizeF own = pixmap.deviceIndependentSize();
    const QSizeF fitted = own.scaled(QSizeF(square.size()), Qt::KeepAspectRatio);
    // Pictures are shrunk to the square, never enlarged.
    const QSizeF drawn = fitted.width() < own.width() ? fitted : own;
    // Standing on the square's bottom, centred across it, close to the title.
    const qreal left = square.left() + (square.width() - drawn.width()) / 2;
    const qreal top = framed ? square.bottom() + 1 - drawn.height()
                             : square.top() + (square.height() - drawn.height()) / 2;
    const QRectF target(left, top, drawn.width(), drawn.height());
    if (!framed || drawn != own) {
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        if (framed)
            drawFrame(painter, target, pixmap);
        else
            painter->drawPixmap(target, pixmap, pixmap.rect());
        painter->restore();
        return;
    }
    // A thumbnail is drawn at its own size: its frame and shadow are composed once and the
    // grid only copies the result while it scrolls.
    const QPixmap composed = framedPicture(framedKey, pixmap);
    painter->drawPixmap(QPointF(std::round(left) - frameMargin, std::round(top) - frameMargin),
                        composed);
}

QPixmap GridItem::framedPicture(const QString& key, const QPixmap& pixmap) const
{
    // Made from this very thumbnail in this look; a new thumbnail or look replaces it.
    const quint64 stamp =
        (static_cast<quint64>(pixmap.cacheKey()) << 1) | (gridLooksDark() ? 1 : 0);
    if (const QPixmap kept = m_framed.find(key, stamp); !kept.isNull())
        return kept;
    const QSizeF own = pixmap.deviceIndependentSize();
    const qreal ratio = pixmap.devicePixelRatio();
    QPixmap result((own + QSizeF(2 * frameMargin, 2 * frameMargin)).toSize() * ratio);
    result.setDevicePixelRatio(ratio);
    result.fill(Qt::transparent);
    {
        QPainter painter(&result);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        drawFrame(&painter, QRectF(QPointF(frameMargin, frameMargin), own), pixmap);
    }
    m_framed.insert(key, result, stamp);
    return result;
}

void GridItem::setFramedByteLimit(qsizetype bytes)
{
    m_framedByteLimit = bytes;
    applyFramedBound();
}

void GridItem::setFramedKept(qsizetype count, qreal devicePixelRatio)
{
    m_framedKept = count;
    m_devicePixelRatio = devicePixelRatio;
    applyFramedBound();
}

void GridItem::applyFramedBound()
{
    const auto side = static_cast<qsizetype>(
        std::ceil((GridItemLayout::thumbnailSize + 2 * frameMargin) * m_devicePixelRatio));
    const qsizetype counted = m_framedKept * side * side * 4;
    m_framed.setByteLimit(m_framedKept > 0 ? std::min(m_framedByteLimit, counted)
                                           : m_framedByteLimit);
}

void GridItem::keepFramedPicturesOf(const RecentFilesModel* files)
{
    m_framed.removeIf([files](const QString& path) {
        return !files || files->rowOfFile(QUrl::fromLocalFile(path)) < 0;
    });
}

void GridItem::drawFrame(QPainter* painter, const QRectF& target, const QPixmap& pixmap)
{
    painter->setRenderHint(QPainter::Antialiasing);
    // A soft shadow under the page or picture.
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor::fromRgbF(0, 0, 0, gridLooksDark() ? 0.35f : 0.12f));
    painter->drawRoundedRect(target.adjusted(-0.5, 0.5, 0.5, 1.5), 1.5, 1.5);
    painter->setBrush(QColor::fromRgbF(0, 0, 0, gridLooksDark() ? 0.2f : 0.06f));
    painter->drawRoundedRect(target.adjusted(-1.5, 1.0, 1.5, 3.0), 2.5, 2.5);
    painter->drawPixmap(target, pixmap, pixmap.rect());
    painter->setPen(QPen(
        gridLooksDark() ? QColor::fromRgbF(1, 1, 1, 0.16f) : QColor::fromRgbF(0, 0, 0, 0.16f), 1));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(target.adjusted(0.5, 0.5, -0.5, -0.5));
}
