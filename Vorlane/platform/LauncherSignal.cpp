#include "LauncherSignal.h"

#include <QDBusConnection>
#include <QDBusMessage>

bool LauncherSignal::postKillLauncher()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage signal = QDBusMessage::createSignal(objectPath, interfaceName, name);
    signal << bundleIdentifier;
    return bus.send(signal);
}
