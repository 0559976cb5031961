#pragma once

#include <QListView>

class GridItem;
class QMenu;
class RecentFilesModel;

// The files grid: one item per document, filling rows left to right, one item selected at a
// time. Arrow keys with nothing selected select the first item; Right and Left step through the
// items (Left on the first hands the focus back to the applications and closes the preview);
// Up and Down move by rows; Shift changes none of this. Tab goes back to the applications,
// Space opens or closes the preview, Return opens the selected document, Escape hides the window.
// A click selects the item whose picture, title or date it hits, anywhere else clears the
// selection; a double click opens the document.
class GridCollectionView : public QListView
{
    Q_OBJECT

public:
    explicit GridCollectionView(QWidget* parent = nullptr);

    RecentFilesModel* filesModel() const;
    // Room kept clear above and below the rows (the toolbar sits in the one below).
    void setContentInsets(int top, int bottom) { setViewportMargins(0, top, 0, bottom); }
    GridItem* gridItem() const { return m_item; }

    // The item last selected since the grid was reloaded; -1 when none. The window selects it
    // again when Tab brings the focus back.
    int prevSelectionIndex() const { return m_prevSelectionIndex; }
    void setPrevSelectionIndex(int item) { m_prevSelectionIndex = item; }

    // -1 when nothing is selected.
    int selectedItem() const;
    // Selects exactly this item and makes it current.
    void selectItem(int item, ScrollHint hint = EnsureVisible);
    void deselectAll();

    // True while the preview shows the grid's selection; double clicks then open nothing.
    bool isPreviewPanelOpen() const { return m_previewPanelOpen; }
    void setPreviewPanelOpen(bool open) { m_previewPanelOpen = open; }

    // Whether pos (viewport coordinates) lies on an item's picture, title or date.
    bool hitsItemContent(const QPoint& pos) const;

    // The menu for a right click at pos, with the item under it selected; null, and the
    // selection cleared, off the items' contents.
    QMenu* menuForEvent(const QPoint& pos);
    // Before the menu shows: its preview item names the selected file.
    void willOpenMenu();
    QMenu* contextMenu();

public Q_SLOTS:
    void reset() override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

private:
    bool arrowKey(int key);
    void tabToApplications();
    void updateGridSize();
    void openMenu(const QPoint& pos, const QPoint& globalPos);

    GridItem* m_item;
    QMenu* m_menu = nullptr;
    int m_prevSelectionIndex = -1;
    bool m_previewPanelOpen = false;
};
