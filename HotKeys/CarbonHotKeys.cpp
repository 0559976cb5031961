#include "HotKeys/CarbonHotKeys.h"

#include "HotKeys/CarbonKeyTable.h"
#include "HotKeys/HotKeys.h"
#include "HotKeys/LocalEventMonitor.h"
#include "HotKeys/MenuTrackingObserver.h"
#include "HotKeys/ShortcutNotifier.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <map>

namespace HotKeys {
namespace {

struct LayerState
{
    std::unique_ptr<HotKeyBackend> backend;
    std::map<std::uint32_t, std::shared_ptr<CarbonHotKeys::HotKey>> hotKeys;
    std::uint32_t hotKeyIdCounter = 0;
    bool hotKeyEventHandler = false;
    std::unique_ptr<LocalEventMonitor> rawKeyMonitor;
    // Keys pressed while a menu was open, with the hot key each press matched.
    std::map<int, std::uint32_t> rawKeysDown;
    std::unique_ptr<MenuTrackingObserver> menuObserver;
    bool menuTracking = false;
    std::uint32_t lastTimestamp = 0;
    bool releaseScheduled = false;
};

LayerState& layer()
{
    static LayerState state;
    return state;
}

// The backend talks through the application's connection to the window system, which closes
// with the application object, long before function-local statics go. So everything that
// touches the window system goes first: Qt runs post routines at the start of the
// application's destructor, while the connection still works. The registrations stay, marked
// unregistered, for an application made later in the same process.
void releaseWindowSystem()
{
    LayerState& state = layer();
    for (const auto& [id, hotKey] : state.hotKeys)
        hotKey->carbonHotKey = false;
    state.backend.reset();
    state.hotKeyEventHandler = false;
    state.rawKeyMonitor.reset();
    state.menuObserver.reset();
    state.menuTracking = false;
    state.rawKeysDown.clear();
    state.releaseScheduled = false;
}

void releaseWithTheApplication()
{
    if (layer().releaseScheduled || !QCoreApplication::instance())
        return;
    qAddPostRoutine(releaseWindowSystem);
    layer().releaseScheduled = true;
}

// A registration the window system took back is dropped, as one whose re-registration fails.
void revoked(std::uint32_t id)
{
    if (layer().hotKeys.erase(id) > 0)
        Q_EMIT ShortcutNotifier::instance().systemBindingDidChange();
}

void adopt(std::unique_ptr<HotKeyBackend> newBackend)
{
    layer().backend = std::move(newBackend);
    layer().hotKeyEventHandler = false;
    if (!layer().backend)
        return;
    layer().backend->setObserver(
        {revoked, [] { Q_EMIT ShortcutNotifier::instance().systemBindingDidChange(); }});
    releaseWithTheApplication();
}

HotKeyBackend& backend()
{
    if (!layer().backend)
        adopt(HotKeyBackend::createForSession());
    return *layer().backend;
}

// The window system takes key codes and modifiers as unsigned 32-bit numbers; a negative value
// from a foreign settings file is refused rather than wrapped.
bool fitsInUnsigned32(int value)
{
    return value >= 0;
}

std::shared_ptr<CarbonHotKeys::HotKey> findByShortcut(int keyCode, int modifiers);

// Key presses of an open menu, matched against the registrations; repeats are not presses.
bool handleRawKey(QObject*, QEvent* event)
{
    auto* keyEvent = static_cast<QKeyEvent*>(event);
    const auto shortcut = Shortcut::fromQtCombination(keyEvent->keyCombination());
    if (!shortcut)
        return false;
    // Keep a menu item with the same key equivalent from taking the key first.
    if (event->type() == QEvent::ShortcutOverride) {
        if (!findByShortcut(shortcut->carbonKeyCode, shortcut->carbonModifiers))
            return false;
        event->accept();
        return true;
    }
    if (keyEvent->isAutoRepeat())
        return false;
    HotKeyEvent raw;
    raw.kind = event->type() == QEvent::KeyPress ? HotKeyEvent::Kind::RawKeyDown
                                                 : HotKeyEvent::Kind::RawKeyUp;
    raw.keyCode = shortcut->carbonKeyCode;
    raw.modifiers = shortcut->carbonModifiers;
    return CarbonHotKeys::handleEvent(raw) == noErr;
}

LocalEventMonitor& rawKeyMonitor()
{
    if (!layer().rawKeyMonitor) {
        layer().rawKeyMonitor = std::make_unique<LocalEventMonitor>(
            QList<QEvent::Type>{QEvent::ShortcutOverride, QEvent::KeyPress, QEvent::KeyRelease},
            handleRawKey);
    }
    return *layer().rawKeyMonitor;
}

std::shared_ptr<CarbonHotKeys::HotKey> findByShortcut(int keyCode, int modifiers)
{
    for (const auto& [id, hotKey] : layer().hotKeys) {
        if (hotKey->shortcut == Shortcut{keyCode, modifiers})
            return hotKey;
    }
    return nullptr;
}

std::shared_ptr<CarbonHotKeys::HotKey> hotKeyWithId(std::uint32_t id)
{
    const auto found = layer().hotKeys.find(id);
    return found == layer().hotKeys.end() ? nullptr : found->second;
}

// People often let go of the modifiers before the key, so a release belongs to the hot key
// its key was pressed for, whatever modifiers are still down.
std::shared_ptr<CarbonHotKeys::HotKey> hotKeyForRawRelease(int keyCode, int modifiers)
{
    const auto held = layer().rawKeysDown.find(keyCode);
    if (held == layer().rawKeysDown.end())
        return findByShortcut(keyCode, modifiers);
    const std::uint32_t id = held->second;
    layer().rawKeysDown.erase(held);
    return hotKeyWithId(id);
}

int handleRawKeyEvent(const HotKeyEvent& event)
{
    const int modifiers = carbonModifiersFromFlags(flagsFromCarbonModifiers(event.modifiers));
    if (event.kind == HotKeyEvent::Kind::RawKeyUp) {
        const auto hotKey = hotKeyForRawRelease(event.keyCode, modifiers);
        if (!hotKey)
            return eventNotHandledErr;
        hotKey->onKeyUp(hotKey->shortcut);
        return noErr;
    }
    const auto hotKey = findByShortcut(event.keyCode, modifiers);
    if (!hotKey)
        return eventNotHandledErr;
    layer().rawKeysDown[event.keyCode] = hotKey->carbonHotKeyId;
    hotKey->onKeyDown(hotKey->shortcut);
    return noErr;
}

int handleHotKeyEvent(const HotKeyEvent& event)
{
    if (event.signature != CarbonHotKeys::signature)
        return eventNotHandledErr;
    // Held by a copy: the handlers may unregister this very hot key.
    const std::shared_ptr<CarbonHotKeys::HotKey> hotKey = hotKeyWithId(event.id);
    if (!hotKey)
        return eventNotHandledErr;
    layer().lastTimestamp = event.timestamp;
    if (event.kind == HotKeyEvent::Kind::HotKeyPressed)
        hotKey->onKeyDown(hotKey->shortcut);
    else
        hotKey->onKeyUp(hotKey->shortcut);
    return noErr;
}

void setMenuTracking(bool tracking)
{
    if (layer().menuTracking == tracking)
        return;
    layer().menuTracking = tracking;
    CarbonHotKeys::updateEventHandler();
}

} // namespace

void CarbonHotKeys::registerHotKey(const Shortcut& shortcut, Action onKeyDown, Action onKeyUp)
{
    // Menus must be followed whenever there are hot keys, not only for names with defaults.
    installMenuTrackingObservers();
    const std::uint32_t id = ++layer().hotKeyIdCounter;
    if (!fitsInUnsigned32(shortcut.carbonKeyCode) || !fitsInUnsigned32(shortcut.carbonModifiers))
        return;
    if (!backend().registerHotKey(shortcut, id))
        return;
    layer().hotKeys[id] = std::make_shared<HotKey>(
        HotKey{shortcut, id, true, std::move(onKeyDown), std::move(onKeyUp)});
    if (!layer().hotKeyEventHandler && backend().installEventHandler(handleEvent)) {
        layer().hotKeyEventHandler = true;
        updateEventHandler();
    }
}

void CarbonHotKeys::unregisterHotKey(const Shortcut& shortcut)
{
    auto& hotKeys = layer().hotKeys;
    for (auto entry = hotKeys.begin(); entry != hotKeys.end();) {
        if (entry->second->shortcut != shortcut) {
            ++entry;
            continue;
        }
        if (entry->second->carbonHotKey)
            backend().unregisterHotKey(entry->first);
        entry = hotKeys.erase(entry);
    }
}

void CarbonHotKeys::registerAllHotKeys()
{
    auto& hotKeys = layer().hotKeys;
    for (auto entry = hotKeys.begin(); entry != hotKeys.end();) {
        HotKey& hotKey = *entry->second;
        if (!hotKey.carbonHotKey)
            hotKey.carbonHotKey = backend().registerHotKey(hotKey.shortcut, entry->first);
        entry = hotKey.carbonHotKey ? std::next(entry) : hotKeys.erase(entry);
    }
}

void CarbonHotKeys::unregisterAllHotKeys()
{
    for (const auto& [id, hotKey] : layer().hotKeys) {
        if (hotKey->carbonHotKey)
            backend().unregisterHotKey(id);
        hotKey->carbonHotKey = false;
    }
}

void CarbonHotKeys::updateEventHandler()
{
    if (!layer().hotKeyEventHandler)
        return;
    if (shortcutsEnabled() && !layer().menuTracking) {
        registerAllHotKeys();
        rawKeyMonitor().stop();
        backend().setHotKeyEventsEnabled(true);
        return;
    }
    unregisterAllHotKeys();
    backend().setHotKeyEventsEnabled(false);
    if (shortcutsEnabled())
        rawKeyMonitor().start();
    else
        rawKeyMonitor().stop();
}

int CarbonHotKeys::handleEvent(const HotKeyEvent& event)
{
    switch (event.kind) {
    case HotKeyEvent::Kind::RawKeyDown:
    case HotKeyEvent::Kind::RawKeyUp:
        return handleRawKeyEvent(event);
    case HotKeyEvent::Kind::HotKeyPressed:
    case HotKeyEvent::Kind::HotKeyReleased:
        return handleHotKeyEvent(event);
    }
    return eventNotHandledErr;
}

void CarbonHotKeys::installMenuTrackingObservers()
{
    if (layer().menuObserver)
        return;
    layer().menuObserver = std::make_unique<MenuTrackingObserver>(setMenuTracking);
}

bool CarbonHotKeys::menuTracking()
{
    return layer().menuTracking;
}

std::uint32_t CarbonHotKeys::lastEventTimestamp()
{
    return layer().lastTimestamp;
}

void CarbonHotKeys::setBackend(std::unique_ptr<HotKeyBackend> newBackend)
{
    adopt(std::move(newBackend));
}

SystemBinding CarbonHotKeys::systemBinding(const Shortcut& shortcut, const QString& name)
{
    const auto hotKey = findByShortcut(shortcut.carbonKeyCode, shortcut.carbonModifiers);
    // Asking makes no backend: without one (the application has gone) nothing is held.
    if (!hotKey || !layer().backend)
        return {SystemBinding::State::refused, {}};
    return layer().backend->binding(hotKey->carbonHotKeyId, name);
}

QList<CarbonHotKeys::HotKey> CarbonHotKeys::hotKeys()
{
    QList<HotKey> list;
    for (const auto& [id, hotKey] : layer().hotKeys)
        list.append(*hotKey);
    return list;
}

} // namespace HotKeys
