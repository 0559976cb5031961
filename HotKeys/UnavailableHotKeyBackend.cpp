#include "HotKeys/UnavailableHotKeyBackend.h"

#include <cstdio>

namespace HotKeys {

bool UnavailableHotKeyBackend::registerHotKey(const Shortcut&, std::uint32_t)
{
    if (!m_told) {
        m_told = true;
        std::fputs("Global shortcuts are not available in this session; bind \"Vorlane "
                   "--toggle\" in the desktop's keyboard settings instead.\n",
                   stdout);
        std::fflush(stdout);
    }
    return false;
}

void UnavailableHotKeyBackend::unregisterHotKey(std::uint32_t) {}

bool UnavailableHotKeyBackend::installEventHandler(EventCallback)
{
    return true;
}

void UnavailableHotKeyBackend::setHotKeyEventsEnabled(bool) {}

} // namespace HotKeys
