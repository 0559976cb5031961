#pragma once

// What the preferences and the onboarding do with the shortcut that summons the window when they
// stop being main and when they close: a shortcut the user cleared and left empty goes back to
// the default, and the tray menu's open item shows the shortcut in force.
void restoreToggleShortcut();
