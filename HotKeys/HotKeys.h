#pragma once

#include "HotKeys/ModifierFlags.h"
#include "HotKeys/Name.h"
#include "HotKeys/Shortcut.h"
#include "HotKeys/ShortcutNotifier.h"
#include "HotKeys/ShortcutStore.h"
#include "HotKeys/SystemBinding.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QAction;

// User-definable, system-wide keyboard shortcuts identified by name: their storage, their
// registration with the window system, the handlers that run when they are pressed, and the
// texts that show them. Everything here runs on the main thread.
namespace HotKeys {

enum class EventType
{
    keyDown,
    keyUp
};

using Handler = std::function<void()>;

// Reads the stored value on every call; anything but a JSON shortcut reads as nothing.
std::optional<Shortcut> shortcutForName(const Name& name);
// Stores (or removes) the name's shortcut, keeps the system registration in step and
// emits ShortcutNotifier::shortcutByNameDidChange.
void setShortcutForName(const std::optional<Shortcut>& shortcut, const Name& name);
void resetShortcutsToDefault(const QList<Name>& names);

// Handlers run in the order they were added; adding one registers the name's shortcut.
void addKeyDownHandler(const Name& name, Handler action);
void addKeyUpHandler(const Name& name, Handler action);

// What the window system made of the name's shortcut: granted, refused, still being asked
// (a desktop portal answers later), or not asked because no handler wants it.
SystemBinding systemBinding(const Name& name);
// The raw values of the names whose stored shortcut this is, among those this process used.
QStringList namesOfShortcut(const Shortcut& shortcut);
// The name this process used with this raw value, with its purpose; none when it used none.
std::optional<Name> knownName(const QString& rawValue);

bool shortcutsEnabled();
void setShortcutsEnabled(bool enabled);
// While paused (a recorder is recording) hot keys stay registered but no handler runs.
bool shortcutsPaused();
void setShortcutsPaused(bool paused);

// The window system's time of the last hot-key event, to activate windows with (0 if none).
std::uint32_t lastEventTimestamp();

// The desktop's own key bindings where they can be read, else an empty list.
QList<Shortcut> systemReservedShortcuts();

// "⌃⌥⇧⌘" and the function flag, in that order.
QString modifierSymbols(ModifierFlags flags);
// The key's character in the keyboard layout, or the symbol of a special key.
std::optional<QString> keyToCharacter(int carbonKeyCode);
// Modifier symbols and the capitalised key character: "⇧⌘Space".
QString shortcutDescription(const Shortcut& shortcut);
// The key as a menu key equivalent ("" when it has none).
QString keyEquivalentString(const Shortcut& shortcut);
// The shortcut in the platform's own words, "Ctrl+Shift+Space", for display in windows.
QString nativeShortcutText(const Shortcut& shortcut);

// Shows the name's shortcut on the action and follows its changes; no name unbinds.
void bindMenuItemToShortcut(QAction* item, const std::optional<Name>& name);
// The name an action is bound to, if any.
std::optional<QString> boundShortcutName(const QAction* item);

// The store defaults to SettingsShortcutStore; the application may replace it at start-up.
ShortcutStore& shortcutStore();
void setShortcutStore(std::unique_ptr<ShortcutStore> store);

} // namespace HotKeys
