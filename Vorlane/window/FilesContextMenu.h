#pragma once

#include <QMenu>

class FilesCollectionView;

// The files' context menu: "Open", "Show in File Manager" and "Preview", the last tagged and
// retitled by the view that opens the menu. Each action works on the view that the setting
// "FilesViewType" names (FilesViewType), on its selected file; while that view is not shown it
// does nothing.
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

private:
    // The list or the grid, as the setting names it; null while that one is not shown.
    static FilesCollectionView* namedView();
};
