#pragma once

#include "HotKeys/CarbonKeyCodes.h"
#include "HotKeys/HotKeys.h"

// The name an application of the facility would make for its one shortcut: "toggleApp",
// Shift-Command-Space by default, with what it does and the command that does the same.
inline const HotKeys::Name& appToggleName()
{
    static const HotKeys::Name name(
        QStringLiteral("toggleApp"),
        HotKeys::Shortcut{HotKeys::CarbonKey::Space,
                          HotKeys::CarbonModifier::cmdKey | HotKeys::CarbonModifier::shiftKey},
        {QStringLiteral("Show or hide Vorlane"), QStringLiteral("Vorlane --toggle")});
    return name;
}
