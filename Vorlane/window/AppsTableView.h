#pragma once

#include <QListView>

class AppsContextMenu;

// The list of applications: one icon per row, one row selected at a time. Up and Down move the
// selection; Escape hides the window; Tab, Left, Right and Return go on to the window, which
// moves between the applications and the files. A right click (or Meta-click) opens the context
// menu on the row under the pointer; a double click starts the application.
class AppsTableView : public QListView
{
    Q_OBJECT

public:
    explicit AppsTableView(QWidget* parent = nullptr);

    AppsContextMenu* contextMenu() const { return m_menu; }

    // Selects the row under pos (viewport coordinates) and answers the menu for it; null, and
    // the selection left alone, where there is no row.
    AppsContextMenu* menuForEvent(const QPoint& pos);
    // Before the menu shows: its row, and its first item named after the application.
    void willOpenMenu();
    void didCloseMenu();

Q_SIGNALS:
    void applicationDoubleClicked();

protected:
    void changeEvent(QEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // A slim scroll bar that stays out of the icons' way, in the look's colours.
    void styleScrollBar();
    // The selected application's identity; empty when none is selected.
    QString selectedIdentity() const;
    void openMenu(const QPoint& pos, const QPoint& globalPos);

    AppsContextMenu* m_menu;
};
