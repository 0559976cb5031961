#pragma once

#include <QListView>

class QMenu;
class RecentFilesModel;

// The files list: date headings and files, one file selected at a time; headings are never
// selected. Up and Down step over headings. Space opens or closes the preview, Return opens the
// selected file, Escape hides the window; Left closes the preview and goes on to the window,
// which moves the focus back to the applications. A click on a heading or below the last row
// clears the selection; a Command (Ctrl) click leaves it alone; a double click opens the file;
// a right click (or Meta-click) opens the context menu on the file under the pointer. A file
// drags out as its file, with its icon and name on a capsule, to be copied or linked.
class FilesTable : public QListView
{
    Q_OBJECT

public:
    explicit FilesTable(QWidget* parent = nullptr);

    RecentFilesModel* filesModel() const;
    // Room kept clear above and below the rows (the toolbar sits in the one below).
    void setContentInsets(int top, int bottom) { setViewportMargins(0, top, 0, bottom); }
    // -1 when no row is selected.
    int selectedRow() const;
    // Selects exactly this row (a file row) and makes it current.
    void selectRow(int row, ScrollHint hint = EnsureVisible);

    // True while the preview shows this list's selection; double clicks then open nothing.
    bool isPreviewPanelOpen() const { return m_previewPanelOpen; }
    void setPreviewPanelOpen(bool open) { m_previewPanelOpen = open; }

    // The menu for a right click at pos (viewport coordinates), with the row under it selected;
    // null, and the selection left alone, on a heading or where there is no row.
    QMenu* menuForEvent(const QPoint& pos);
    // Before the menu shows: its preview item names the selected file.
    void willOpenMenu();
    QMenu* contextMenu();

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void changeEvent(QEvent* event) override;

private:
    int fileRowFrom(int row, int step) const;
    void openMenu(const QPoint& pos, const QPoint& globalPos);
    void postClickedFileRow(int row) const;

    QMenu* m_menu = nullptr;
    bool m_previewPanelOpen = false;
};
