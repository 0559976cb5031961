#pragma once

#include <QMenu>

// The applications list's context menu: open the application, or clear its recent documents;
// the clear is greyed out, its tool tip saying why, where the application's history belongs to a
// program that keeps it (Plasma's activity manager, LibreOffice).
// Both act on the application named by contextMenuAppName, looked up when chosen; nothing happens
// when it is no longer in the list.
class AppsContextMenu : public QMenu
{
    Q_OBJECT

public:
    explicit AppsContextMenu(QWidget* parent = nullptr);

    QAction* openItem() const { return m_openItem; }
    QAction* clearItem() const { return m_clearItem; }

    void launchApp();
    void clearFiles();
    // Enables the clear for the application the menu is for, or says why it is not.
    void updateClearItem();

private:
    QAction* m_openItem;
    QAction* m_clearItem;
};
