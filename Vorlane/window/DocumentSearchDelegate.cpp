#include "DocumentSearchDelegate.h"

#include "DocumentSearchModel.h"
#include "FileNameText.h"
#include "FilesTableRowBackground.h"
#include "SelectionMarker.h"
#include "ThemePalette.h"

#include <QIcon>
#include <QPainter>

namespace {
constexpr int leading = 18;
constexpr int gap = 10;
constexpr int trailing = 18;
} // namespace

void DocumentSearchDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const
{
    const SelectionMarker::State state = SelectionMarker::stateOf(option);
    FilesTableRowBackground::drawBackground(painter, option.rect, state);
    const QRect row = option.rect;
    const QRect iconArea(row.left() + leading, row.top() + (row.height() - iconSize) / 2, iconSize,
                         iconSize);
    index.data(Qt::DecorationRole).value<QIcon>().paint(painter, iconArea);

    const ThemePalette& theme = themePalette();
    const int textLeft = iconArea.right() + 1 + gap;
    const int textWidth = std::max(0, row.right() - trailing - textLeft);
    const int half = row.height() / 2;
    const QRect nameArea(textLeft, row.top() + 3, textWidth, half - 3);
    const QRect detailArea(textLeft, row.top() + half, textWidth, half - 3);
    const QColor text =
        SelectionMarker::textColor(state, option.palette.color(QPalette::Active, QPalette::Text));
    const QColor detailText = SelectionMarker::isSelected(state) ? text : theme.headerLabelColor;

    painter->save();
    painter->setFont(theme.listTitleFont);
    painter->setPen(text);
    painter->drawText(nameArea, Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine,
                      FileNameText::elided(index.data(Qt::DisplayRole).toString(),
                                           QFontMetrics(theme.listTitleFont), textWidth));
    const QString detail =
        tr("%1 · %2").arg(index.data(DocumentSearchModel::FolderRole).toString(),
                          index.data(DocumentSearchModel::RelativeDateRole).toString());
    painter->setFont(theme.pathFont);
    painter->setPen(detailText);
    painter->drawText(detailArea, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      QFontMetrics(theme.pathFont).elidedText(detail, Qt::ElideMiddle, textWidth));
    painter->restore();
}

QSize DocumentSearchDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return {option.rect.width(), rowHeight};
}
