#include "HotKeys/Localization.h"

#include <QtGlobal>

namespace HotKeys {
namespace {

struct Entry
{
    const char* key;
    const char* english;
};

// keyboard_shortcut_used_by_menu_item takes the menu item's title as %1;
// shortcut_not_granted_bind the program's name as %1 and the command to bind as %2.
constexpr Entry englishTable[] = {
    {"record_shortcut", "Record Shortcut"},
    {"press_shortcut", "Press Shortcut"},
    {"ok", "OK"},
    {"force_use_shortcut", "Use Anyway"},
    {"keyboard_shortcut_used_by_system", "This keyboard shortcut is already used by the desktop."},
    {"keyboard_shortcuts_can_be_changed",
     "Most desktop shortcuts can be changed in the keyboard section of the system settings."},
    {"keyboard_shortcut_used_by_menu_item",
     "This keyboard shortcut cannot be used because the menu item \u201c%1\u201d already uses it."},
    {"shortcut_not_granted", "The desktop did not grant this shortcut."},
    {"shortcut_not_granted_bind",
     "The desktop did not grant this shortcut. To summon %1 with a key, bind the command "
     "\u201c%2\u201d in the desktop's keyboard settings."},
};

} // namespace

QString Localization::string(const char* key)
{
    for (const Entry& entry : englishTable) {
        if (qstrcmp(entry.key, key) == 0)
            return QString::fromUtf8(entry.english);
    }
    return QString::fromUtf8(key);
}

} // namespace HotKeys
