#pragma once

#include <QStyledItemDelegate>

class RecentFilesModel;

// Draws the rows of the files list, one delegate for the whole list. A file row shows the
// document's picture (its thumbnail, else its type's icon) and its name; the selected row, while
// Command (Ctrl) is held, shows the file manager's icon and the document's location instead.
// Heading rows are drawn by FilesHeaderCell, row backgrounds by FilesTableRowBackground.
// It also draws the picture a row drags out with.
class FilesTableCell : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int rowHeight = 36;
    static constexpr int iconSize = 28;
    static constexpr int leading = 16;
    static constexpr int iconGap = 10;
    static constexpr int trailing = 16;
    // Thumbnails are asked at this size (points) and drawn at iconSize.
    static constexpr qreal thumbnailRequestSize = 86;

    using QStyledItemDelegate::QStyledItemDelegate;

    // A heading row is 10 points high when it is the first row, else 24; a file row is 36.
    static int heightOfRow(const QModelIndex& index);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // Where the picture and the text of a file row go.
    static QRect iconRect(const QRect& rowRect);
    static QRect titleRect(const QRect& rowRect);
    // The text a file row shows within width: its name, or its location while that is on display.
    static QString shownTitle(const QString& text, const QFont& font, bool showsPath, int width);

    // The picture a file row drags out with: its icon, and its name in white on a capsule of the
    // selection's colour. Long names are cut to maxDragTitleWidth.
    static constexpr int maxDragTitleWidth = 320;
    static QPixmap draggingImage(const QModelIndex& index, const QPalette& palette,
                                 qreal devicePixelRatio);

private:
    static void drawFile(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index);
    static void drawPicture(QPainter* painter, const QRect& area, const QPixmap& pixmap,
                            bool framed);
};
