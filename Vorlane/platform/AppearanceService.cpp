#include "AppearanceService.h"

#include "NotificationCenter.h"
#include "PortalAppearanceService.h"

namespace {
std::unique_ptr<AppearanceService>& sharedAppearanceServiceSlot()
{
    static std::unique_ptr<AppearanceService> service;
    return service;
}
} // namespace

AppearanceService::~AppearanceService() = default;

AppearanceService& AppearanceService::shared()
{
    std::unique_ptr<AppearanceService>& slot = sharedAppearanceServiceSlot();
    if (!slot)
        slot = std::make_unique<PortalAppearanceService>();
    return *slot;
}

std::unique_ptr<AppearanceService>
AppearanceService::replaceShared(std::unique_ptr<AppearanceService> service)
{
    return std::exchange(sharedAppearanceServiceSlot(), std::move(service));
}

void AppearanceService::announceChange()
{
    Q_EMIT interfaceStyleChanged();
    NotificationCenter::defaultCenter().post(NotificationName::interfaceThemeChanged);
}
