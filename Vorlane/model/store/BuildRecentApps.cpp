#include "BuildRecentApps.h"

#include "Calendar.h"
#include "DateRules.h"
#include "Diagnostics.h"
#include "RecentSources.h"
#include "UserDefaults.h"

std::optional<QList<RecentApp>> buildRecentApps()
{
    UserDefaults::global().reload();
    Calendar::current().followSystemZone();

    const RecentSources sources;
    for (const auto& source : sources.all())
        source->prepare();
    QList<RecentApp> apps;
    for (const auto& source : sources.all())
        apps.append(source->read());

    sortAppsNewestFirst(apps);
    if (apps.isEmpty()) {
        Diagnostics::write(QStringLiteral("No recent apps found"));
        return std::nullopt;
    }
    return apps;
}
