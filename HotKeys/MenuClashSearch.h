#pragma once

#include "HotKeys/Shortcut.h"

#include <QString>

class QAction;

namespace HotKeys {

// Finds an action of the application (menu bars first, then every window's menus, tool bars
// and actions) whose keyboard shortcut is the given one.
class MenuClashSearch
{
public:
    // Depth first, each submenu right after its item. Actions bound to `ownName` show that
    // name's own shortcut and are no clash.
    static QAction* findClash(const Shortcut& shortcut, const QString& ownName);
    // The action's text without its mnemonic ampersands.
    static QString title(const QAction* action);
};

} // namespace HotKeys
