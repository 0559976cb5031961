#include "StandInTrayHost.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>

namespace {
const QString trayHostConnectionName = QStringLiteral("stand-in-tray-host");
const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");

QDBusMessage call(const QDBusConnection& bus, const QString& service, const QString& path,
                  const QString& interface, const QString& method, const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    return QDBusConnection(bus).call(message, QDBus::Block, 10000);
}

// com.canonical.dbusmenu's layout: (id, properties, children as variants of the same).
void collectLabels(const QDBusArgument& argument, QStringList* labels)
{
    int id = 0;
    QVariantMap properties;
    QVariantList children;
    argument.beginStructure();
    argument >> id >> properties >> children;
    argument.endStructure();
    const QString label = properties.value(QStringLiteral("label")).toString();
    if (!label.isEmpty()) {
        QStringList keys;
        const QDBusArgument shortcut =
            properties.value(QStringLiteral("shortcut")).value<QDBusArgument>();
        if (properties.contains(QStringLiteral("shortcut"))) {
            shortcut.beginArray();
            while (!shortcut.atEnd()) {
                QStringList combination;
                shortcut >> combination;
                keys << combination.join(u'+');
            }
            shortcut.endArray();
        }
        labels->append(keys.isEmpty() ? label : label + u'\t' + keys.join(u' '));
    }
    // Each child arrives as a variant holding the same structure.
    for (const QVariant& child : std::as_const(children)) {
        const QVariant inner =
            child.canConvert<QDBusVariant>() ? child.value<QDBusVariant>().variant() : child;
        collectLabels(inner.value<QDBusArgument>(), labels);
    }
}
} // namespace

StandInTrayHost::StandInTrayHost(const QString& busAddress)
    : m_bus(QDBusConnection::connectToBus(busAddress, trayHostConnectionName))
{
    m_registered = m_bus.isConnected() &&
                   m_bus.registerObject(watcherPath, this,
                                        QDBusConnection::ExportScriptableSlots |
                                            QDBusConnection::ExportScriptableSignals |
                                            QDBusConnection::ExportAllProperties) &&
                   m_bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"));
}

StandInTrayHost::~StandInTrayHost()
{
    m_bus.unregisterObject(watcherPath);
    QDBusConnection::disconnectFromBus(trayHostConnectionName);
}

void StandInTrayHost::RegisterStatusNotifierItem(const QString& service)
{
    m_items << service;
    Q_EMIT StatusNotifierItemRegistered(service);
}

void StandInTrayHost::RegisterStatusNotifierHost(const QString&) {}

QStringList StandInTrayHost::menuLabels(const QString& item) const
{
    // An item registers by its bus name, or by a name and path ("name/path").
    const QString service = item.section(u'/', 0, 0);
    const QString itemPath =
        item.contains(u'/') ? u'/' + item.section(u'/', 1) : QStringLiteral("/StatusNotifierItem");
    const QDBusMessage menu =
        call(m_bus, service, itemPath, QStringLiteral("org.freedesktop.DBus.Properties"),
             QStringLiteral("Get"),
             {QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("Menu")});
    if (menu.type() != QDBusMessage::ReplyMessage || menu.arguments().isEmpty())
        return {};
    const QString menuPath = menu.arguments()
                                 .constFirst()
                                 .value<QDBusVariant>()
                                 .variant()
                                 .value<QDBusObjectPath>()
                                 .path();
    const QDBusMessage layout =
        call(m_bus, service, menuPath, QStringLiteral("com.canonical.dbusmenu"),
             QStringLiteral("GetLayout"), {0, -1, QStringList()});
    if (layout.type() != QDBusMessage::ReplyMessage || layout.arguments().size() < 2)
        return {};
    QStringList labels;
    collectLabels(layout.arguments().at(1).value<QDBusArgument>(), &labels);
    return labels;
}
