#include "FileViewHooks.h"

#include "FileActions.h"
#include "NotificationCenter.h"
#include "Selection.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPointer>

namespace {
qsizetype selectedIndex(const QAbstractItemView* view)
{
    if (!view || !view->selectionModel())
        return -1;
    const QModelIndexList selected = view->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}
} // namespace

FileViewHooks& FileViewHooks::shared()
{
    static FileViewHooks hooks;
    return hooks;
}

void FileViewHooks::showQuickLookFor(QAbstractItemView* view)
{
    if (shared().showQuickLook)
        shared().showQuickLook(view);
}

void FileViewHooks::closeQuickLookPanel()
{
    if (shared().closeQuickLook)
        shared().closeQuickLook();
}

void FileViewHooks::reloadQuickLookPanel()
{
    if (shared().reloadQuickLook)
        shared().reloadQuickLook();
}

QMenu* FileViewHooks::contextMenuFor(QAbstractItemView* view, const QString& viewKind)
{
    if (shared().makeContextMenu)
        return shared().makeContextMenu(view, viewKind);
    return plainContextMenu(view, viewKind);
}

QMenu* FileViewHooks::plainContextMenu(QAbstractItemView* view, const QString& viewKind)
{
    auto* menu = new QMenu(view);
    const QPointer<QAbstractItemView> target(view);
    // The items act on the view's selection when chosen: the menu selects the file first.
    menu->addAction(QStringLiteral("Open"), menu, [target] {
        if (const qsizetype index = selectedIndex(target); index >= 0)
            NotificationCenter::defaultCenter().post(NotificationName::clickedFileRow,
                                                     QVariant::fromValue<qlonglong>(index));
    });
    menu->addAction(QStringLiteral("Show in File Manager"), menu, [target, viewKind] {
        if (const qsizetype index = selectedIndex(target); index >= 0 && !selectedApp.isEmpty())
            openRecentFile(selectedApp.constFirst(), index, viewKind, true);
    });
    menu->addSeparator();
    menu->addAction(QStringLiteral("Quick Look"), menu, [target] {
        if (target)
            showQuickLookFor(target);
    });
    return menu;
}
