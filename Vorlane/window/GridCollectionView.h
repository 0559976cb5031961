#pragma once

#include "FilesCollectionView.h"

class GridItem;

// The files grid: one item per document, filling rows left to right. Arrow keys with nothing
// selected select the first item; Right and Left step through the items (Left on the first hands
// the focus back to the applications and closes the preview); Up and Down move by rows; Shift
// changes none of this. Tab goes back to the applications. A click selects the item whose
// picture, title or date it hits, anywhere else clears the selection; a double click opens the
// document. While Command (Ctrl) is held an item stands for its location and does not drag. The
// rest it does as the list does (FilesCollectionView); its rows are called items.
class GridCollectionView : public FilesCollectionView
{
    Q_OBJECT

public:
    explicit GridCollectionView(QWidget* parent = nullptr);

    GridItem* gridItem() const { return m_item; }

    // The item last selected since the grid was reloaded; -1 when none. The window selects it
    // again when Tab brings the focus back.
    int prevSelectionIndex() const { return m_prevSelectionIndex; }
    void setPrevSelectionIndex(int item) { m_prevSelectionIndex = item; }

    // -1 when nothing is selected.
    int selectedItem() const { return selectedRow(); }
    // Selects exactly this item and makes it current.
    void selectItem(int item, ScrollHint hint = EnsureVisible) { selectRow(item, hint); }
    void deselectAll();

    // Whether pos (viewport coordinates) lies on an item's picture, title or date.
    bool hitsItemContent(const QPoint& pos) const;

    // Keeps the files model's pictures and the framed pictures to what three screenfuls of the
    // grid show (the one in sight and one each way), within their bounds in bytes: a small
    // window keeps few pictures, a large one as many as its bounds allow.
    void fitPictureBoundsToView();
    // How many items three screenfuls of the grid show, as its size is now.
    int itemsInThreeScreens() const;

public Q_SLOTS:
    void reset() override;

protected:
    int fileRowAt(const QPoint& pos) const override;
    // Off the items' contents a menu clears the selection.
    void noFileAt(const QPoint& pos) override;

    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void resizeEvent(QResizeEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

private:
    bool arrowKey(int key);
    void tabToApplications();
    void updateGridSize();

    GridItem* m_item;
    int m_prevSelectionIndex = -1;
};
