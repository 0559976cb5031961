#include "FakeHotKeyBackend.h"

#include "HotKeys/CarbonHotKeys.h"

namespace {
FakeHotKeyBackend* installedBackend = nullptr;
}

FakeHotKeyBackend* FakeHotKeyBackend::installed()
{
    return installedBackend;
}

FakeHotKeyBackend* FakeHotKeyBackend::install()
{
    auto backend = std::make_unique<FakeHotKeyBackend>();
    installedBackend = backend.get();
    HotKeys::CarbonHotKeys::setBackend(std::move(backend));
    return installedBackend;
}

bool FakeHotKeyBackend::registerHotKey(const HotKeys::Shortcut& shortcut, std::uint32_t id)
{
    registerCalls.append(id);
    if (taken.contains(shortcut))
        return false;
    registered[id] = shortcut;
    return true;
}

void FakeHotKeyBackend::unregisterHotKey(std::uint32_t id)
{
    unregisterCalls.append(id);
    registered.erase(id);
}

bool FakeHotKeyBackend::installEventHandler(EventCallback callback)
{
    m_callback = std::move(callback);
    return true;
}

void FakeHotKeyBackend::setHotKeyEventsEnabled(bool enabled)
{
    eventsEnabled = enabled;
}

void FakeHotKeyBackend::setObserver(Observer observer)
{
    m_observer = std::move(observer);
}

HotKeys::SystemBinding FakeHotKeyBackend::binding(std::uint32_t, const QString& name) const
{
    return answers.value(name, {HotKeys::SystemBinding::State::granted, {}});
}

void FakeHotKeyBackend::answer(const QString& name, const HotKeys::SystemBinding& binding)
{
    answers.insert(name, binding);
    m_observer.bindingsChanged();
}

void FakeHotKeyBackend::revoke(std::uint32_t id)
{
    registered.erase(id);
    m_observer.revoked(id);
}

int FakeHotKeyBackend::press(const HotKeys::Shortcut& shortcut)
{
    return deliver(HotKeys::HotKeyEvent::Kind::HotKeyPressed, shortcut);
}

int FakeHotKeyBackend::release(const HotKeys::Shortcut& shortcut)
{
    return deliver(HotKeys::HotKeyEvent::Kind::HotKeyReleased, shortcut);
}

int FakeHotKeyBackend::send(const HotKeys::HotKeyEvent& event)
{
    return m_callback ? m_callback(event) : HotKeys::eventNotHandledErr;
}

// Like the window system: only registered combinations, only while events are let through.
int FakeHotKeyBackend::deliver(HotKeys::HotKeyEvent::Kind kind, const HotKeys::Shortcut& shortcut)
{
    if (!eventsEnabled)
        return HotKeys::eventNotHandledErr;
    for (const auto& [id, registeredShortcut] : registered) {
        if (registeredShortcut == shortcut) {
            HotKeys::HotKeyEvent event;
            event.kind = kind;
            event.signature = HotKeys::CarbonHotKeys::signature;
            event.id = id;
            return send(event);
        }
    }
    return HotKeys::eventNotHandledErr;
}
