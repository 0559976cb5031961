#pragma once

#include "HotKeys/HotKeyBackend.h"

#include <QHash>
#include <QList>
#include <QSet>

#include <map>

// Stands in for the window system in unit tests: remembers registrations and sends the
// events a window system would send for a pressed or released shortcut.
class FakeHotKeyBackend : public HotKeys::HotKeyBackend
{
public:
    // The backend the process installed, or nullptr.
    static FakeHotKeyBackend* installed();
    static FakeHotKeyBackend* install();

    bool registerHotKey(const HotKeys::Shortcut& shortcut, std::uint32_t id) override;
    void unregisterHotKey(std::uint32_t id) override;
    bool installEventHandler(EventCallback callback) override;
    void setHotKeyEventsEnabled(bool enabled) override;
    void setObserver(Observer observer) override;
    HotKeys::SystemBinding binding(std::uint32_t id, const QString& name) const override;

    // Sends what the window system sends; the result of the callback, or nothing sent.
    int press(const HotKeys::Shortcut& shortcut);
    int release(const HotKeys::Shortcut& shortcut);
    int send(const HotKeys::HotKeyEvent& event);
    // The desktop answers later about a name, as a portal does, and says so.
    void answer(const QString& name, const HotKeys::SystemBinding& binding);
    // Takes back a registration, as a new keymap without the key does, and says so.
    void revoke(std::uint32_t id);

    std::map<std::uint32_t, HotKeys::Shortcut> registered;
    QList<std::uint32_t> registerCalls;
    QList<std::uint32_t> unregisterCalls;
    // Combinations "another program" holds.
    QSet<HotKeys::Shortcut> taken;
    bool eventsEnabled = false;
    // Answers by name; a name without one is granted as stored.
    QHash<QString, HotKeys::SystemBinding> answers;

private:
    int deliver(HotKeys::HotKeyEvent::Kind kind, const HotKeys::Shortcut& shortcut);

    EventCallback m_callback;
    Observer m_observer;
};
