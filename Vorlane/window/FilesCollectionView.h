#pragma once

#include <QListView>

class QMenu;
class RecentFilesModel;

// What the files list (FilesTable) and the files grid (GridCollectionView) do alike: one file
// selected at a time; Space opens or closes the preview, Return opens the selected file, Escape
// hides the window; a right click, the keyboard's menu key or a Meta-click opens the context menu
// on the file there; documents drag out as their files, copied or linked, never moved; room kept
// clear above and below the rows for the toolbar. Each keeps what differs: which rows are files,
// where a click hits one, how the keys move and what a drag looks like.
class FilesCollectionView : public QListView
{
    Q_OBJECT

public:
    explicit FilesCollectionView(QWidget* parent = nullptr);

    RecentFilesModel* filesModel() const;
    // Room kept clear above and below the rows (the toolbar sits in the one below).
    void setContentInsets(int top, int bottom) { setViewportMargins(0, top, 0, bottom); }
    // -1 when nothing is selected.
    int selectedRow() const;
    // Selects exactly this row, when it is a file, and makes it current.
    virtual void selectRow(int row, ScrollHint hint = EnsureVisible);

    // True while the preview shows this view's selection; double clicks then open nothing.
    bool isPreviewPanelOpen() const { return m_previewPanelOpen; }
    void setPreviewPanelOpen(bool open) { m_previewPanelOpen = open; }

    // The menu for a right click at pos (viewport coordinates), with the file under it selected;
    // null where there is no file (see noFileAt).
    QMenu* menuForEvent(const QPoint& pos);
    // Before the menu shows: its preview item names the selected file.
    void willOpenMenu();
    QMenu* contextMenu();

protected:
    // The file row at pos (viewport coordinates); -1 where a click hits no file.
    virtual int fileRowAt(const QPoint& pos) const = 0;
    // A menu was asked for where there is no file.
    virtual void noFileAt(const QPoint& pos) { Q_UNUSED(pos) }

    // Space, Return and Escape; true when the key was one of them.
    bool handleSharedKey(QKeyEvent* event);
    // A Meta-click opens the menu and other buttons than the left one select nothing; true when
    // the press was dealt with here.
    bool handleSharedPress(QMouseEvent* event);
    // Tells the window to open the file on this row (or item), as a double click does.
    void postClickedFileRow(int row) const;
    // Copied or linked, never moved: a file manager that moved the document would take it away
    // from where every record of it points.
    static Qt::DropActions allowedDragActions(Qt::DropActions supported);

    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void openMenu(const QPoint& pos, const QPoint& globalPos);

    QMenu* m_menu = nullptr;
    bool m_previewPanelOpen = false;
};
