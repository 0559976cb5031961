#include "HotKeys/HotKeyBackend.h"

#include "HotKeys/PortalHotKeyBackend.h"
#include "HotKeys/UnavailableHotKeyBackend.h"
#include "HotKeys/X11HotKeyBackend.h"

#include <QGuiApplication>

namespace HotKeys {
namespace {

bool isWaylandSession()
{
    return qEnvironmentVariable("XDG_SESSION_TYPE") == u"wayland" ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

} // namespace

void HotKeyBackend::setObserver(Observer) {}

SystemBinding HotKeyBackend::binding(std::uint32_t, const QString&) const
{
    return {SystemBinding::State::granted, {}};
}

// On Wayland, X11 grabs through XWayland only fire while an X11 window has the focus, so the
// portal comes first there; X11 grabs are still better than nothing.
std::unique_ptr<HotKeyBackend> HotKeyBackend::createForSession()
{
    if (isWaylandSession()) {
        if (auto portal = PortalHotKeyBackend::create())
            return portal;
    }
    if (auto x11 = X11HotKeyBackend::create())
        return x11;
    return std::make_unique<UnavailableHotKeyBackend>();
}

} // namespace HotKeys
