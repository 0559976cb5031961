#include "LoginItemService.h"

#include "AutostartLoginItems.h"

namespace {
std::unique_ptr<LoginItemService>& sharedLoginItemServiceSlot()
{
    static std::unique_ptr<LoginItemService> service;
    return service;
}
} // namespace

LoginItemService& LoginItemService::shared()
{
    std::unique_ptr<LoginItemService>& slot = sharedLoginItemServiceSlot();
    if (!slot)
        slot = std::make_unique<AutostartLoginItems>();
    return *slot;
}

std::unique_ptr<LoginItemService>
LoginItemService::replaceShared(std::unique_ptr<LoginItemService> service)
{
    return std::exchange(sharedLoginItemServiceSlot(), std::move(service));
}
