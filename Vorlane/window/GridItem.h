#pragma once

#include <QSize>
#include <QStyledItemDelegate>

// Draws the items of the files grid: the document's picture (its thumbnail, framed like a page,
// else its type's icon), its name on up to two lines and how long ago it was used. The selected
// item sits on a soft marker with its name on the accent colour; while Command (Ctrl) is held
// it reads "Show in File Manager" over the file manager's icon, its location in the tool tip.
class GridItem : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // The title the selected item shows while its location is on display.
    static const QString showInFinderTitle;

    using QStyledItemDelegate::QStyledItemDelegate;

    // Every item fills its cell of the grid.
    void setCellSize(const QSize& size) { m_cellSize = size; }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // The title an item shows: the document's name, or "Show in File Manager".
    static QString titleOf(const QModelIndex& index);

private:
    // Room around a framed picture for its shadow.
    static constexpr int frameMargin = 4;

    static void drawPicture(QPainter* painter, const QRect& square, const QPixmap& pixmap,
                            bool framed);
    static QPixmap framedPicture(const QPixmap& pixmap);
    static void drawFrame(QPainter* painter, const QRectF& target, const QPixmap& pixmap);

    QSize m_cellSize;
};
