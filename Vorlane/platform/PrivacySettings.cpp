#include "PrivacySettings.h"

#include "DesktopPrivacySettings.h"

namespace {
std::unique_ptr<PrivacySettings>& sharedPrivacySettingsSlot()
{
    static std::unique_ptr<PrivacySettings> settings;
    return settings;
}
} // namespace

PrivacySettings& PrivacySettings::shared()
{
    std::unique_ptr<PrivacySettings>& slot = sharedPrivacySettingsSlot();
    if (!slot)
        slot = std::make_unique<DesktopPrivacySettings>();
    return *slot;
}

std::unique_ptr<PrivacySettings>
PrivacySettings::replaceShared(std::unique_ptr<PrivacySettings> settings)
{
    return std::exchange(sharedPrivacySettingsSlot(), std::move(settings));
}
