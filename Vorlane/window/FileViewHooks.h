#pragma once

#include <QString>

#include <functional>

class QAbstractItemView;
class QMenu;

// What the files list and grid ask of the preview window and the files' context menu. The
// preview installs its answers here; until it does, Space shows nothing and the menu is a plain
// one whose items open, reveal, or ask for the preview.
class FileViewHooks
{
public:
    // The view's selected file in the preview (Space, the menu's Quick Look item).
    std::function<void(QAbstractItemView* view)> showQuickLook;
    // The focus went back to the applications: the preview closes.
    std::function<void()> closeQuickLook;
    // The selection moved: an open preview follows it.
    std::function<void()> reloadQuickLook;
    // The context menu of a view; viewKind is "list" or "grid". Made once per view, owned by it.
    std::function<QMenu*(QAbstractItemView* view, const QString& viewKind)> makeContextMenu;

    static FileViewHooks& shared();

    // Each runs its hook when one is installed.
    static void showQuickLookFor(QAbstractItemView* view);
    static void closeQuickLookPanel();
    static void reloadQuickLookPanel();
    static QMenu* contextMenuFor(QAbstractItemView* view, const QString& viewKind);

private:
    static QMenu* plainContextMenu(QAbstractItemView* view, const QString& viewKind);
};
