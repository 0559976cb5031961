#pragma once

#include "PixmapStore.h"

#include <QSize>
#include <QStyledItemDelegate>

class RecentFilesModel;

// Draws the items of the files grid: the document's picture (its thumbnail, framed like a page,
// else its type's icon), its name on up to two lines and how long ago it was used. The selected
// item sits on a soft marker with its name on the accent colour; while Command (Ctrl) is held
// it reads "Show in File Manager" over the file manager's icon, its location in the tool tip.
// Thumbnails are framed once and kept, one per document, within a bound on their bytes and to
// about as many as the grid shows in a few screenfuls.
class GridItem : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // The title the selected item shows while its location is on display.
    static QString showInFinderTitle();
    // Room for the framed pictures of a window filling a large screen at twice its density.
    static constexpr qsizetype defaultFramedByteLimit = 24 * 1024 * 1024;

    using QStyledItemDelegate::QStyledItemDelegate;

    // Every item fills its cell of the grid.
    void setCellSize(const QSize& size) { m_cellSize = size; }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // The title an item shows: the document's name, or "Show in File Manager".
    static QString titleOf(const QModelIndex& index);

    // The framed pictures, by document path.
    const PixmapStore& framedPictures() const { return m_framed; }
    // The most the framed pictures may take.
    void setFramedByteLimit(qsizetype bytes);
    // Keeps no more than count framed pictures' worth of bytes at this density within that
    // bound: as many as the grid shows, with some room to scroll. 0: no count.
    void setFramedKept(qsizetype count, qreal devicePixelRatio);
    // Lets go of the framed pictures of documents the grid no longer shows.
    void keepFramedPicturesOf(const RecentFilesModel* files);

private:
    // Room around a framed picture for its shadow.
    static constexpr int frameMargin = 4;
    // framedKey names the document whose thumbnail the pixmap is; empty for an icon.
    void drawPicture(QPainter* painter, const QRect& square, const QPixmap& pixmap,
                     const QString& framedKey) const;
    QPixmap framedPicture(const QString& key, const QPixmap& pixmap) const;
    static void drawFrame(QPainter* painter, const QRectF& target, const QPixmap& pixmap);

    void applyFramedBound();

    QSize m_cellSize;
    qsizetype m_framedByteLimit = defaultFramedByteLimit;
    qsizetype m_framedKept = 0;
    qreal m_devicePixelRatio = 1.0;
    mutable PixmapStore m_framed{defaultFramedByteLimit};
};
