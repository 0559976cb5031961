#include "LoginItem.h"

#include "DefaultsKeys.h"
#include "LauncherSignal.h"
#include "LoginItemService.h"
#include "SystemLog.h"
#include "UserDefaults.h"

void applyLoginItem(bool enabled)
{
    SystemLog::write(enabled ? QStringLiteral("-- VORLANE: Enable start at login")
                             : QStringLiteral("-- VORLANE: Disable start at login"));
    UserDefaults::standard().setObject(DefaultsKey::loginItem, enabled);
    LoginItemService::shared().setEnabled(LauncherSignal::launcherIdentifier, enabled);
}
