#include "FilesContextMenu.h"

#include "FileActions.h"
#include "FilesGridViewController.h"
#include "FilesTable.h"
#include "FilesTableViewController.h"
#include "FilesViewController.h"
#include "FilesViewType.h"
#include "GridCollectionView.h"
#include "NotificationCenter.h"
#include "QuickLookMenuItem.h"
#include "Selection.h"
#include "SharedReferences.h"

FilesContextMenu::FilesContextMenu(QWidget* parent)
    : QMenu(parent)
{
    addAction(tr("Open"), this, &FilesContextMenu::open);
    addAction(tr("Show in File Manager"), this, &FilesContextMenu::revealInFinder);
    addSeparator();
    addAction(QuickLookMenuItem::title(), this, &FilesContextMenu::quickLook);
}

FilesCollectionView* FilesContextMenu::namedView()
{
    if (!sharedFilesViewController)
        return nullptr;
    if (FilesViewType::stored() == FilesViewType::Kind::grid) {
        const FilesGridViewController* grid = sharedFilesViewController->filesGridViewController();
        return grid ? grid->collectionView() : nullptr;
    }
    const FilesTableViewController* list = sharedFilesViewController->filesTableViewController();
    return list ? list->filesTable() : nullptr;
}

void FilesContextMenu::open()
{
    // Nothing selected names no file, and nothing opens.
    if (const FilesCollectionView* view = namedView()) {
        const int row = view->selectedRow();
        NotificationCenter::defaultCenter().post(NotificationName::clickedFileRow,
                                                 row >= 0 ? QVariant::fromValue<qlonglong>(row)
                                                          : QVariant());
    }
}

void FilesContextMenu::revealInFinder()
{
    if (selectedApp.isEmpty())
        return;
    // Nothing selected names no file, and nothing is shown.
    if (const FilesCollectionView* view = namedView())
        openRecentFile(selectedApp.constFirst(), view->selectedRow(),
                       FilesViewType::name(FilesViewType::stored()), true);
}

void FilesContextMenu::quickLook()
{
    if (FilesCollectionView* view = namedView())
        showQuickLook(view);
}
