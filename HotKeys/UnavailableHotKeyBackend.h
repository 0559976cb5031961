#pragma once

#include "HotKeys/HotKeyBackend.h"

namespace HotKeys {

// For sessions where no global shortcut can be had: says so once and registers nothing.
class UnavailableHotKeyBackend : public HotKeyBackend
{
public:
    bool registerHotKey(const Shortcut& shortcut, std::uint32_t id) override;
    void unregisterHotKey(std::uint32_t id) override;
    bool installEventHandler(EventCallback callback) override;
    void setHotKeyEventsEnabled(bool enabled) override;

private:
    bool m_told = false;
};

} // namespace HotKeys
