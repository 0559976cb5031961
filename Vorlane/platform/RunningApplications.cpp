#include "RunningApplications.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusReply>

bool RunningApplications::isRunning(const QString& bundleIdentifier)
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return false;
    const QDBusReply<bool> registered = bus.interface()->isServiceRegistered(bundleIdentifier);
    return registered.isValid() && registered.value();
}
