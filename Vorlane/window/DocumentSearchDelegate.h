#pragma once

#include <QStyledItemDelegate>

// A row of the search results: the recording application's icon, the document's name and, under
// it, its folder and when it was used, on the files list's selection marker.
class DocumentSearchDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int rowHeight = 46;
    static constexpr int iconSize = 28;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
