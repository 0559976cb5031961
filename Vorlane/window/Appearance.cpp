#include "Appearance.h"

#include "AppearanceService.h"
#include "UserDefaults.h"

namespace {
const QString appearanceKey = QStringLiteral("Appearance");
const QString appearanceStyleKey = QStringLiteral("AppearanceStyle");

QString requestedAppearance()
{
    UserDefaults& defaults = UserDefaults::standard();
    const QString appearance = defaults.objectIsPresent(appearanceKey)
                                   ? defaults.stringForKey(appearanceKey)
                                   : QStringLiteral("system");
    if (appearance != u"system")
        return appearance;
    // The desktop's colour scheme stands in for the global "AppleInterfaceStyle" key.
    return AppearanceService::shared().interfaceStyle().toLower();
}
} // namespace

AppearanceName currentAppearanceName()
{
    const bool dark = requestedAppearance() == u"dark";
    UserDefaults::standard().setObject(appearanceStyleKey,
                                       dark ? QStringLiteral("dark") : QStringLiteral("light"));
    return dark ? AppearanceName::darkAqua : AppearanceName::aqua;
}

QString appearanceStyle()
{
    return UserDefaults::standard().stringForKey(appearanceStyleKey) == u"dark"
               ? QStringLiteral("dark")
               : QStringLiteral("light");
}
