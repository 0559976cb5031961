#include "FilesContextMenu.h"

#include "Diagnostics.h"
#include "FileActions.h"
#include "FilesGridViewController.h"
#include "FilesTable.h"
#include "FilesTableViewController.h"
#include "FilesViewController.h"
#include "FilesViewType.h"
#include "GridCollectionView.h"
#include "NotificationCenter.h"
#include "QuickLookMenuItem.h"
#include "RecentFilesModel.h"
#include "Selection.h"
#include "SharedReferences.h"
#include "VorlaneController.h"

FilesContextMenu::FilesContextMenu(QWidget* parent)
    : QMenu(parent)
{
    addAction(tr("Open"), this, &FilesContextMenu::open);
    addAction(tr("Show in File Manager"), this, &FilesContextMenu::revealInFinder);
    addSeparator();
    addAction(QuickLookMenuItem::title(), this, &FilesContextMenu::quickLook);
    addSeparator();
    m_removeItem = addAction(tr("Remove from Recent"), this, &FilesContextMenu::removeFromRecent);
    m_removeItem->setObjectName(QStringLiteral("RemoveFromRecentItem"));
    // A greyed-out item says why in its tool tip.
    setToolTipsVisible(true);
    connect(this, &QMenu::aboutToShow, this, &FilesContextMenu::updateRemoveItem);
}

void FilesContextMenu::updateRemoveItem()
{
    const QString reason =
        selectedApp.isEmpty()
            ? QString()
            : VorlaneController::shared().notRemovableBecause(selectedApp.constFirst());
    m_removeItem->setEnabled(!selectedApp.isEmpty() && reason.isEmpty());
    m_removeItem->setToolTip(reason);
    m_removeItem->setStatusTip(reason);
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

void FilesContextMenu::removeFromRecent()
{
    const FilesCollectionView* view = namedView();
    const RecentFilesModel* files = view ? view->filesModel() : nullptr;
    const RecentFile* file = files ? files->fileAt(view->selectedRow()) : nullptr;
    if (selectedApp.isEmpty() || !file)
        return;
    VorlaneController::shared().removeDocumentInBackground(
        selectedApp.constFirst(), *file, [](bool removed, const QString& error) {
            if (!removed)
                Diagnostics::write(QStringLiteral("Could not remove the document: ") + error);
        });
}

void FilesContextMenu::quickLook()
{
    if (FilesCollectionView* view = namedView())
        showQuickLook(view);
}
