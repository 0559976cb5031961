#pragma once

#include <QMenu>

class FilesCollectionView;

// The files' context menu: "Open", "Show in File Manager", "Preview" (tagged and retitled by the
// view that opens the menu) and "Remove from Recent", greyed out with the reason as its tool tip
// where the document's history cannot lose one document safely. Each action works on the view that
// the setting "FilesViewType" names (FilesViewType), on its selected file; while that view is not
// shown it does nothing.
class FilesContextMenu : public QMenu
{
    Q_OBJECT

public:
    explicit FilesContextMenu(QWidget* parent = nullptr);

public Q_SLOTS:
    // Posts "clicked file row" for the selected row or item, as a double click does.
    void open();
    void revealInFinder();
    void quickLook();
    // Takes the selected document out of the selected application's history, off the window's
    // thread; the list changes when the store rebuilds after it.
    void removeFromRecent();

    QAction* removeItem() const { return m_removeItem; }

private:
    // Enables "Remove from Recent" for the selected application, or says why it is not.
    void updateRemoveItem();
    QAction* m_removeItem = nullptr;

    // The list or the grid, as the setting names it; null while that one is not shown.
    static FilesCollectionView* namedView();
};
