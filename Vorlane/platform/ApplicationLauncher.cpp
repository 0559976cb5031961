#include "ApplicationLauncher.h"

#include "GioApplicationLauncher.h"

namespace {
std::unique_ptr<ApplicationLauncher>& sharedSlot()
{
    static std::unique_ptr<ApplicationLauncher> launcher;
    return launcher;
}
} // namespace

ApplicationLauncher& ApplicationLauncher::shared()
{
    std::unique_ptr<ApplicationLauncher>& slot = sharedSlot();
    if (!slot)
        slot = std::make_unique<GioApplicationLauncher>();
    return *slot;
}

std::unique_ptr<ApplicationLauncher>
ApplicationLauncher::replaceShared(std::unique_ptr<ApplicationLauncher> launcher)
{
    return std::exchange(sharedSlot(), std::move(launcher));
}
