#include "PortalAppearanceService.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace {
const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceNamespace = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");
// A running portal answers in a few milliseconds; one that hangs must not hold up start-up.
constexpr int runningPortalTimeoutMs = 250;

// Portals before 1.17 wrap the value of Read in a second variant.
QVariant unwrapped(QVariant value)
{
    while (value.metaType() == QMetaType::fromType<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

int schemeFromValue(const QVariant& value)
{
    bool ok = false;
    const uint scheme = unwrapped(value).toUInt(&ok);
    return ok && scheme <= 2 ? static_cast<int>(scheme) : 0;
}

QDBusMessage readMessage()
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        portalService, portalPath, settingsInterface, QStringLiteral("Read"));
    message << appearanceNamespace << colorSchemeKey;
    return message;
}
} // namespace

PortalAppearanceService::PortalAppearanceService()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"),
                this, SLOT(settingChanged(QDBusMessage)));
    readColorScheme();
}

QString PortalAppearanceService::interfaceStyle() const
{
    return m_colorScheme == 1 ? QStringLiteral("Dark") : QString();
}

void PortalAppearanceService::readColorScheme()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    // A running portal is asked and waited for briefly, so the first window already has the
    // right colours; one that would have to be started answers later, through a change.
    if (bus.interface() && bus.interface()->isServiceRegistered(portalService)) {
        const QDBusMessage reply = bus.call(readMessage(), QDBus::Block, runningPortalTimeoutMs);
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
            m_colorScheme = schemeFromValue(reply.arguments().constFirst());
            return;
        }
    }
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(readMessage()), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            &PortalAppearanceService::takeReadReply);
}

void PortalAppearanceService::takeReadReply(QDBusPendingCallWatcher* watcher)
{
    watcher->deleteLater();
    const QDBusPendingReply<QDBusVariant> reply = *watcher;
    if (!reply.isError())
        setColorScheme(schemeFromValue(QVariant::fromValue(reply.value())));
}

void PortalAppearanceService::settingChanged(const QDBusMessage& message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 3 || arguments.at(0).toString() != appearanceNamespace ||
        arguments.at(1).toString() != colorSchemeKey)
        return;
    setColorScheme(schemeFromValue(arguments.at(2)));
}

void PortalAppearanceService::setColorScheme(int scheme)
{
    if (scheme == m_colorScheme)
        return;
    m_colorScheme = scheme;
    announceChange();
}
