#pragma once

#include <QStyledItemDelegate>

// Draws one row of the applications list: the application's icon, centred in its 72-point row,
// over the rounded selection marker when the row is selected (or the faint one under the
// pointer).
// No text: the list shows icons only; the name is the row's tool tip and accessible name.
class AppsTableCell : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int rowHeight = 72;
    static constexpr int iconSize = 48;
    static constexpr int markerSize = 64;

    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
