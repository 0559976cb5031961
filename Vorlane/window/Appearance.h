#pragma once

#include "ThemePalette.h"

// The appearance rule shared by the window's set-up and the theme changes: "Appearance" names
// "system", "light" or "dark" (absent counts as "system"); "system" follows the desktop's
// interface style. Resolving stores the look under "AppearanceStyle" ("dark" or "light").
AppearanceName currentAppearanceName();

// The look's name as "AppearanceStyle" holds it; "light" when absent or unknown.
QString appearanceStyle();
