#pragma once

namespace HotKeys {
class Name;
}

// The shortcut that shows or hides the window, the program's only one: "toggleApp",
// Shift-Command-Space by default, that is Shift+Ctrl+Space here. Created on first use, after the
// application object exists.
const HotKeys::Name& toggleAppName();

// What the preferences and the onboarding do with the shortcut that summons the window when they
// stop being main and when they close: a shortcut the user cleared and left empty goes back to
// the default, and the tray menu's open item shows the shortcut in force.
void restoreToggleShortcut();
