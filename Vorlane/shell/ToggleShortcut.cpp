#include "ToggleShortcut.h"

#include "AppDelegate.h"
#include "HotKeys/CarbonKeyCodes.h"
#include "HotKeys/HotKeys.h"
#include "StatusBarMenu.h"

#include <QCoreApplication>

const HotKeys::Name& toggleAppName()
{
    static const HotKeys::Name name(
        QStringLiteral("toggleApp"),
        HotKeys::Shortcut{HotKeys::CarbonKey::Space,
                          HotKeys::CarbonModifier::cmdKey | HotKeys::CarbonModifier::shiftKey},
        {QCoreApplication::translate("ToggleShortcut", "Show or hide %1")
             .arg(QCoreApplication::applicationName()),
         QCoreApplication::applicationName() + QStringLiteral(" --toggle")});
    return name;
}

void restoreToggleShortcut()
{
    const HotKeys::Name& name = toggleAppName();
    if (!HotKeys::shortcutForName(name))
        HotKeys::resetShortcutsToDefault({name});
    if (AppDelegate* delegate = AppDelegate::shared(); delegate && delegate->statusBarMenu())
        HotKeys::bindMenuItemToShortcut(delegate->statusBarMenu()->openButton(), name);
}
