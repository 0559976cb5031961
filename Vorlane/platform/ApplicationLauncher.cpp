#include "ApplicationLauncher.h"

#include "GioApplicationLauncher.h"

namespace {
std::unique_ptr<ApplicationLauncher>& sharedApplicationLauncherSlot()
{
    static std::unique_ptr<ApplicationLauncher> launcher;
    return launcher;
}
} // namespace

ApplicationLauncher& ApplicationLauncher::shared()
{
    std::unique_ptr<ApplicationLauncher>& slot = sharedApplicationLauncherSlot();
    if (!slot)
        slot = std::make_unique<GioApplicationLauncher>();
    return *slot;
}

std::unique_ptr<ApplicationLauncher>
ApplicationLauncher::replaceShared(std::unique_ptr<ApplicationLauncher> launcher)
{
    return std::exchange(sharedApplicationLauncherSlot(), std::move(launcher));
}
