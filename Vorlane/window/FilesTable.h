#pragma once

#include "FilesCollectionView.h"

// The files list: date headings and files; headings are never selected. Up and Down step over
// headings. Left closes the preview and goes on to the window, which moves the focus back to the
// applications. A click on a heading or below the last row clears the selection; a Command
// (Ctrl) click leaves it alone; a double click opens the file. A file drags out with its icon
// and name on a capsule. The rest it does as the grid does (FilesCollectionView).
class FilesTable : public FilesCollectionView
{
    Q_OBJECT

public:
    explicit FilesTable(QWidget* parent = nullptr);

    // Headings are never selected, nor even current.
    void selectRow(int row, ScrollHint hint = EnsureVisible) override;

protected:
    int fileRowAt(const QPoint& pos) const override;

    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    int fileRowFrom(int row, int step) const;
};
