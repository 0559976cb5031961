#include "HotKeys/Localization.h"

#include <QCoreApplication>
#include <QtGlobal>

namespace HotKeys {
namespace {

struct Entry
{
    const char* key;
    const char* english;
};

// The texts are translated in the context "HotKeys".
// keyboard_shortcut_used_by_menu_item takes the menu item's title as %1;
// shortcut_not_granted_bind the program's name as %1 and the command to bind as %2.
constexpr Entry englishTable[] = {
    {"record_shortcut", QT_TRANSLATE_NOOP("HotKeys", "Record Shortcut")},
    {"press_shortcut", QT_TRANSLATE_NOOP("HotKeys", "Press Shortcut")},
    {"ok", QT_TRANSLATE_NOOP("HotKeys", "OK")},
    {"force_use_shortcut", QT_TRANSLATE_NOOP("HotKeys", "Use Anyway")},
    {"keyboard_shortcut_used_by_system",
     QT_TRANSLATE_NOOP("HotKeys", "This keyboard shortcut is already used by the desktop.")},
    {"keyboard_shortcuts_can_be_changed",
     QT_TRANSLATE_NOOP(
         "HotKeys",
         "Most desktop shortcuts can be changed in the keyboard section of the system settings.")},
    {"keyboard_shortcut_used_by_menu_item",
     QT_TRANSLATE_NOOP("HotKeys", "This keyboard shortcut cannot be used because the menu item "
                                  "\u201c%1\u201d already uses it.")},
    {"shortcut_not_granted",
     QT_TRANSLATE_NOOP("HotKeys", "The desktop did not grant this shortcut.")},
    {"shortcut_not_granted_bind",
     QT_TRANSLATE_NOOP(
         "HotKeys",
         "The desktop did not grant this shortcut. To summon %1 with a key, bind the command "
         "\u201c%2\u201d in the desktop's keyboard settings.")},
};

} // namespace

QString Localization::string(const char* key)
{
    for (const Entry& entry : englishTable) {
        if (qstrcmp(entry.key, key) == 0)
            return QCoreApplication::translate("HotKeys", entry.english);
    }
    return QString::fromUtf8(key);
}

} // namespace HotKeys
