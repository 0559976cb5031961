#pragma once

#include "HotKeys/HotKeyBackend.h"

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

    // Sends what the window system sends; the result of the callback, or nothing sent.
    int press(const HotKeys::Shortcut& shortcut);
    int release(const HotKeys::Shortcut& shortcut);
    int send(const HotKeys::HotKeyEvent& event);

    std::map<std::uint32_t, HotKeys::Shortcut> registered;
    QList<std::uint32_t> registerCalls;
    QList<std::uint32_t> unregisterCalls;
    // Combinations "another program" holds.
    QSet<HotKeys::Shortcut> taken;
    bool eventsEnabled = false;

private:
    int deliver(HotKeys::HotKeyEvent::Kind kind, const HotKeys::Shortcut& shortcut);

    EventCallback m_callback;
};
