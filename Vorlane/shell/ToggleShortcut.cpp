#include "ToggleShortcut.h"

#include "AppDelegate.h"
#include "HotKeys/HotKeys.h"
#include "StatusBarMenu.h"

void restoreToggleShortcut()
{
    const HotKeys::Name& name = HotKeys::Name::toggleApp();
    if (!HotKeys::shortcutForName(name))
        HotKeys::resetShortcutsToDefault({name});
    if (AppDelegate* delegate = AppDelegate::shared(); delegate && delegate->statusBarMenu())
        HotKeys::bindMenuItemToShortcut(delegate->statusBarMenu()->openButton(), name);
}
