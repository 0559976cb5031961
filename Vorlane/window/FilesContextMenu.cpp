#include "FilesContextMenu.h"

#include "FileActions.h"
#include "FilesGridViewController.h"
#include "FilesTable.h"
#include "FilesTableViewController.h"
#include "FilesViewController.h"
#include "GridCollectionView.h"
#include "NotificationCenter.h"
#include "QuickLookMenuItem.h"
#include "Selection.h"
#include "SharedReferences.h"
#include "UserDefaults.h"

FilesContextMenu::FilesContextMenu(QWidget* parent)
    : QMenu(parent)
{
    addAction(QStringLiteral("Open"), this, &FilesContextMenu::open);
    addAction(QStringLiteral("Show in File Manager"), this, &FilesContextMenu::revealInFinder);
    addSeparator();
    addAction(QuickLookMenuItem::title, this, &FilesContextMenu::quickLook);
}

bool FilesContextMenu::namesGrid()
{
    const UserDefaults& defaults = UserDefaults::standard();
    const QString key = QStringLiteral("FilesViewType");
    return !defaults.objectIsPresent(key) || defaults.stringForKey(key) == u"grid";
}

FilesTableViewController* FilesContextMenu::listController()
{
    return sharedFilesViewController ? sharedFilesViewController->filesTableViewController()
                                     : nullptr;
}

FilesGridViewController* FilesContextMenu::gridController()
{
    return sharedFilesViewController ? sharedFilesViewController->filesGridViewController()
                                     : nullptr;
}

void FilesContextMenu::open()
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    if (namesGrid()) {
        if (const FilesGridViewController* grid = gridController()) {
            const int item = grid->collectionView()->selectedItem();
            center.post(NotificationName::clickedFileRow,
                        item >= 0 ? QVariant::fromValue<qlonglong>(item) : QVariant());
        }
    } else if (const FilesTableViewController* list = listController()) {
        center.post(NotificationName::clickedFileRow,
                    QVariant::fromValue<qlonglong>(list->filesTable()->selectedRow()));
    }
}

void FilesContextMenu::revealInFinder()
{
    if (selectedApp.isEmpty())
        return;
    // Nothing selected names no file, and nothing is shown.
    if (namesGrid()) {
        if (const FilesGridViewController* grid = gridController())
            openRecentFile(selectedApp.constFirst(), grid->collectionView()->selectedItem(),
                           QStringLiteral("grid"), true);
    } else if (const FilesTableViewController* list = listController()) {
        openRecentFile(selectedApp.constFirst(), list->filesTable()->selectedRow(),
                       QStringLiteral("list"), true);
    }
}

void FilesContextMenu::quickLook()
{
    if (namesGrid()) {
        if (const FilesGridViewController* grid = gridController())
            showQuickLook(grid->collectionView());
    } else if (const FilesTableViewController* list = listController()) {
        showQuickLook(list->filesTable());
    }
}
