#include "HotKeys/HotKeys.h"

#include "HotKeys/CarbonHotKeys.h"
#include "HotKeys/SettingsShortcutStore.h"

#include <QSet>

#include <algorithm>
#include <utility>
#include <vector>

namespace HotKeys {
namespace {

struct HandlerList
{
    Name name;
    std::vector<Handler> handlers;
};

// Names keep the order of their first handler, so dispatch order is repeatable.
using HandlerTable = std::vector<HandlerList>;

struct FacilityState
{
    std::unique_ptr<ShortcutStore> store = std::make_unique<SettingsShortcutStore>();
    QSet<Shortcut> registeredShortcuts;
    HandlerTable keyDownHandlers;
    HandlerTable keyUpHandlers;
    // Every name this process has used, to tell whether a shortcut is still wanted.
    QList<Name> knownNames;
    bool enabled = true;
    bool paused = false;
};

FacilityState& facility()
{
    static FacilityState state;
    return state;
}

void remember(const Name& name)
{
    if (!facility().knownNames.contains(name))
        facility().knownNames.append(name);
}

void dispatch(EventType type, const Shortcut& pressed)
{
    if (facility().paused)
        return;
    // A copy, because a handler may add handlers or change shortcuts while we run.
    const HandlerTable table =
        type == EventType::keyDown ? facility().keyDownHandlers : facility().keyUpHandlers;
    for (const HandlerList& entry : table) {
        if (shortcutForName(entry.name) != pressed)
            continue;
        for (const Handler& handler : entry.handlers)
            handler();
    }
}

void registerShortcut(const Shortcut& shortcut)
{
    facility().registeredShortcuts.insert(shortcut);
    CarbonHotKeys::registerHotKey(
        shortcut, [](const Shortcut& pressed) { dispatch(EventType::keyDown, pressed); },
        [](const Shortcut& pressed) { dispatch(EventType::keyUp, pressed); });
}

bool usedByAnotherName(const Shortcut& shortcut, const Name& name)
{
    for (const Name& other : std::as_const(facility().knownNames)) {
        if (other != name && shortcutForName(other) == shortcut)
            return true;
    }
    return false;
}

// Two names may share one registration: it goes only when no other name still holds it.
void releaseShortcut(const Shortcut& shortcut, const Name& name)
{
    if (usedByAnotherName(shortcut, name))
        return;
    CarbonHotKeys::unregisterHotKey(shortcut);
    facility().registeredShortcuts.remove(shortcut);
}

void store(const Shortcut& shortcut, const Name& name)
{
    const auto old = shortcutForName(name);
    // Stored first: a backend that tells about the registration finds the name by its shortcut.
    shortcutStore().setValue(name.storageKey(), QString::fromUtf8(shortcut.toJson()));
    if (old)
        releaseShortcut(*old, name);
    if (!facility().registeredShortcuts.contains(shortcut))
        registerShortcut(shortcut);
    Q_EMIT ShortcutNotifier::instance().shortcutByNameDidChange(name.rawValue());
}

void removeStored(const Name& name, bool keepMarker)
{
    const auto old = shortcutForName(name);
    if (!old)
        return;
    // Boolean false says "removed by the user", so the default does not come back.
    if (keepMarker)
        shortcutStore().setValue(name.storageKey(), false);
    else
        shortcutStore().remove(name.storageKey());
    releaseShortcut(*old, name);
    Q_EMIT ShortcutNotifier::instance().shortcutByNameDidChange(name.rawValue());
}

void addHandler(HandlerTable& table, const Name& name, Handler action)
{
    remember(name);
    auto entry = std::find_if(table.begin(), table.end(),
                              [&](const HandlerList& list) { return list.name == name; });
    if (entry == table.end())
        entry = table.insert(table.end(), HandlerList{name, {}});
    entry->handlers.push_back(std::move(action));
    const auto shortcut = shortcutForName(name);
    if (shortcut && !facility().registeredShortcuts.contains(*shortcut))
        registerShortcut(*shortcut);
}

} // namespace

std::optional<Shortcut> shortcutForName(const Name& name)
{
    const QVariant value = shortcutStore().value(name.storageKey());
    if (value.typeId() != QMetaType::QString && value.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return Shortcut::fromJson(value.toString().toUtf8());
}

void setShortcutForName(const std::optional<Shortcut>& shortcut, const Name& name)
{
    remember(name);
    if (shortcut)
        store(*shortcut, name);
    else
        removeStored(name, name.defaultShortcut().has_value());
}

void resetShortcutsToDefault(const QList<Name>& names)
{
    for (const Name& name : names) {
        remember(name);
        if (name.defaultShortcut())
            store(*name.defaultShortcut(), name);
        else
            removeStored(name, false);
    }
}

void addKeyDownHandler(const Name& name, Handler action)
{
    addHandler(facility().keyDownHandlers, name, std::move(action));
}

void addKeyUpHandler(const Name& name, Handler action)
{
    addHandler(facility().keyUpHandlers, name, std::move(action));
}

SystemBinding systemBinding(const Name& name)
{
    const auto shortcut = shortcutForName(name);
    if (!shortcut || !facility().registeredShortcuts.contains(*shortcut))
        return {};
    return CarbonHotKeys::systemBinding(*shortcut, name.rawValue());
}

QStringList namesOfShortcut(const Shortcut& shortcut)
{
    QStringList names;
    for (const Name& name : std::as_const(facility().knownNames)) {
        if (shortcutForName(name) == shortcut)
            names.append(name.rawValue());
    }
    return names;
}

std::optional<Name> knownName(const QString& rawValue)
{
    for (const Name& name : std::as_const(facility().knownNames)) {
        if (name.rawValue() == rawValue)
            return name;
    }
    return std::nullopt;
}

bool shortcutsEnabled()
{
    return facility().enabled;
}

void setShortcutsEnabled(bool enabled)
{
    if (facility().enabled == enabled)
        return;
    facility().enabled = enabled;
    CarbonHotKeys::updateEventHandler();
}

bool shortcutsPaused()
{
    return facility().paused;
}

void setShortcutsPaused(bool paused)
{
    facility().paused = paused;
}

std::uint32_t lastEventTimestamp()
{
    return CarbonHotKeys::lastEventTimestamp();
}

ShortcutStore& shortcutStore()
{
    return *facility().store;
}

void setShortcutStore(std::unique_ptr<ShortcutStore> store)
{
    if (store)
        facility().store = std::move(store);
}

} // namespace HotKeys
