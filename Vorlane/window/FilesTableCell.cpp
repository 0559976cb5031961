#include "FilesTableCell.h"

#include "FileIconCache.h"
#include "FileNameText.h"
#include "FilesHeaderCell.h"
#include "FilesTableRowBackground.h"
#include "RecentFilesModel.h"
#include "ThemePalette.h"

#include <QPainter>

int FilesTableCell::heightOfRow(const QModelIndex& index)
{
    if (index.data(RecentFilesModel::IsHeadingRole).toBool())
        return index.row() == 0 ? FilesHeaderCell::firstRowHeight : FilesHeaderCell::rowHeight;
    return rowHeight;
}

QSize FilesTableCell::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return {option.rect.width(), heightOfRow(index)};
}

QRect FilesTableCell::iconRect(const QRect& rowRect)
{
    return {rowRect.left() + leading, rowRect.top() + (rowRect.height() - iconSize) / 2, iconSize,
            iconSize};
}

QRect FilesTableCell::titleRect(const QRect& rowRect)
{
    const int left = rowRect.left() + leading + iconSize + iconGap;
    return {left, rowRect.top(), rowRect.right() + 1 - trailing - left, rowRect.height()};
}

void FilesTableCell::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const
{
    if (index.data(RecentFilesModel::IsHeadingRole).toBool()) {
        FilesHeaderCell::draw(painter, option.rect, index.data(Qt::DisplayRole).toString(),
                              index.row() == 0);
        return;
    }
    drawFile(painter, option, index);
}

void FilesTableCell::drawFile(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index)
{
    const SelectionMarker::State state = SelectionMarker::stateOf(option);
    FilesTableRowBackground::drawBackground(painter, option.rect, state);
    const bool showsPath = index.data(RecentFilesModel::ShowsPathRole).toBool();
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    if (showsPath)
        drawPicture(painter, iconRect(option.rect),
                    FileIconCache::shared().fileManagerPixmap(iconSize, ratio), false);
    else
        drawPicture(painter, iconRect(option.rect), index.data(Qt::DecorationRole).value<QPixmap>(),
                    index.data(RecentFilesModel::HasThumbnailRole).toBool());

    const ThemePalette& theme = themePalette();
    const QFont font = showsPath ? theme.pathFont : theme.listTitleFont;
    const QString text = showsPath ? index.data(RecentFilesModel::PathTextRole).toString()
                                   : index.data(Qt::DisplayRole).toString();
    const QRect area = titleRect(option.rect);
    painter->save();
    painter->setFont(font);
    painter->setPen(
        SelectionMarker::textColor(state, option.palette.color(QPalette::Active, QPalette::Text)));
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      shownTitle(text, font, showsPath, area.width()));
    painter->restore();
}

QString FilesTableCell::shownTitle(const QString& text, const QFont& font, bool showsPath,
                                   int width)
{
    const QFontMetrics metrics(font);
    // A long location keeps its start and the file's name; a long name its start and its type,
    // as the grid shows it.
    return showsPath ? metrics.elidedText(text, Qt::ElideMiddle, width)
                     : FileNameText::elided(text, metrics, width);
}

void FilesTableCell::drawPicture(QPainter* painter, const QRect& area, const QPixmap& pixmap,
                                 bool framed)
{
    if (pixmap.isNull())
        return;
    const QSizeF size = pixmap.deviceIndependentSize().scaled(area.size(), Qt::KeepAspectRatio);
    // Pictures never grow beyond their own size.
    const QSizeF drawn = size.width() > pixmap.deviceIndependentSize().width()
                             ? pixmap.deviceIndependentSize()
                             : size;
    const QRectF target(area.left() + (area.width() - drawn.width()) / 2,
                        area.top() + (area.height() - drawn.height()) / 2, drawn.width(),
                        drawn.height());
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawPixmap(target, pixmap, pixmap.rect());
    if (framed) {
        // A thumbnail is a page or a picture: a hairline keeps white pages off a white row.
        painter->setPen(QPen(themePalette().appearanceName == AppearanceName::darkAqua
                                 ? QColor::fromRgbF(1, 1, 1, 0.18f)
                                 : QColor::fromRgbF(0, 0, 0, 0.18f),
                             1));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(target.adjusted(0.5, 0.5, -0.5, -0.5));
    }
    painter->restore();
}

QPixmap FilesTableCell::draggingImage(const QModelIndex& index, const QPalette& palette,
                                      qreal devicePixelRatio)
{
    const QFont& font = themePalette().listTitleFont;
    const QFontMetrics metrics(font);
    const QString title = metrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight,
                                             maxDragTitleWidth);
    const int titleWidth = metrics.horizontalAdvance(title);
    // The capsule starts a little before the name and ends a little after it.
    constexpr int capsuleBefore = 6;
    constexpr int capsuleAfter = 12;
    const int titleLeft = leading + iconSize + iconGap;
    const QRect row(0, 0, titleLeft + titleWidth + capsuleAfter, rowHeight);
    QPixmap image(row.size() * devicePixelRatio);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF capsule(titleLeft - capsuleBefore, 2, titleWidth + capsuleBefore + capsuleAfter,
                         rowHeight - 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette.color(QPalette::Active, QPalette::Highlight));
    painter.drawRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
    drawPicture(&painter, iconRect(row), index.data(Qt::DecorationRole).value<QPixmap>(),
                index.data(RecentFilesModel::HasThumbnailRole).toBool());
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(titleLeft, 0, titleWidth + 1, rowHeight),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title);
    return image;
}
