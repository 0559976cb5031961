#include "StandInPortal.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace {
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString portalConnectionName = QStringLiteral("stand-in-portal");
} // namespace

StandInPortal::StandInPortal(const QString& busAddress)
    : m_bus(QDBusConnection::connectToBus(busAddress, portalConnectionName))
{
    m_registered = m_bus.isConnected() &&
                   m_bus.registerObject(portalPath, this, QDBusConnection::ExportScriptableSlots) &&
                   m_bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
}

StandInPortal::~StandInPortal()
{
    m_bus.unregisterObject(portalPath);
    QDBusConnection::disconnectFromBus(portalConnectionName);
}

QDBusVariant StandInPortal::Read(const QString& nameSpace, const QString& key)
{
    if (nameSpace != u"org.freedesktop.appearance" || key != u"color-scheme")
        return QDBusVariant(QVariant());
    return QDBusVariant(QVariant::fromValue(QDBusVariant(m_scheme)));
}

void StandInPortal::setColorScheme(uint scheme)
{
    m_scheme = scheme;
    QDBusMessage signal =
        QDBusMessage::createSignal(portalPath, QStringLiteral("org.freedesktop.portal.Settings"),
                                   QStringLiteral("SettingChanged"));
    signal << QStringLiteral("org.freedesktop.appearance") << QStringLiteral("color-scheme")
           << QVariant::fromValue(QDBusVariant(scheme));
    m_bus.send(signal);
}
