#include "HotKeys/PortalHotKeyBackend.h"

#include "HotKeys/CarbonHotKeys.h"
#include "HotKeys/CarbonKeyTable.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QStringList>

#include <array>
#include <xkbcommon/xkbcommon.h>

namespace HotKeys {
namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString idPrefix = QStringLiteral("hotkey-");

// One entry of BindShortcuts' a(sa{sv}).
struct PortalShortcut
{
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

// The portal's trigger syntax: "CTRL+SHIFT+space".
QString preferredTrigger(const Shortcut& shortcut)
{
    QStringList parts;
    if (shortcut.carbonModifiers & CarbonModifier::cmdKey)
        parts << QStringLiteral("CTRL");
    if (shortcut.carbonModifiers & CarbonModifier::optionKey)
        parts << QStringLiteral("ALT");
    if (shortcut.carbonModifiers & CarbonModifier::shiftKey)
        parts << QStringLiteral("SHIFT");
    if (shortcut.carbonModifiers & CarbonModifier::controlKey)
        parts << QStringLiteral("LOGO");
    const auto keysym = CarbonKeyTable::keysymForCarbonKey(shortcut.carbonKeyCode);
    std::array<char, 64> name{};
    if (!keysym || xkb_keysym_get_name(*keysym, name.data(), name.size()) <= 0)
        return QString();
    parts << QString::fromLatin1(name.data());
    return parts.join(u'+');
}

QDBusMessage portalCall(const QString& method)
{
    return QDBusMessage::createMethodCall(portalService, portalPath, shortcutsInterface, method);
}

} // namespace
} // namespace HotKeys

Q_DECLARE_METATYPE(HotKeys::PortalShortcut)

namespace HotKeys {

std::unique_ptr<PortalHotKeyBackend> PortalHotKeyBackend::create()
{
    QDBusMessage query = QDBusMessage::createMethodCall(
        portalService, portalPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    query << shortcutsInterface << QStringLiteral("version");
    const QDBusMessage reply = QDBusConnection::sessionBus().call(query, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return nullptr;
    return std::unique_ptr<PortalHotKeyBackend>(new PortalHotKeyBackend);
}

PortalHotKeyBackend::PortalHotKeyBackend()
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(portalService, portalPath, shortcutsInterface, QStringLiteral("Activated"), this,
                SLOT(activated(QDBusMessage)));
    bus.connect(portalService, portalPath, shortcutsInterface, QStringLiteral("Deactivated"), this,
                SLOT(deactivated(QDBusMessage)));
    createSession();
}

// Where the portal will answer a request made with this token.
QString PortalHotKeyBackend::requestPath(const QString& token) const
{
    QString sender = QDBusConnection::sessionBus().baseService().mid(1);
    sender.replace(u'.', u'_');
    return portalPath + QStringLiteral("/request/") + sender + u'/' + token;
}

void PortalHotKeyBackend::createSession()
{
    const QString token = QStringLiteral("vorlane_%1").arg(++m_tokenCounter);
    QDBusConnection::sessionBus().connect(portalService, requestPath(token), requestInterface,
                                          QStringLiteral("Response"), this,
                                          SLOT(sessionCreated(uint, QVariantMap)));
    QDBusMessage call = portalCall(QStringLiteral("CreateSession"));
    call << QVariantMap{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("session_handle_token"), QStringLiteral("vorlane")}};
    QDBusConnection::sessionBus().asyncCall(call);
}

void PortalHotKeyBackend::sessionCreated(uint response, const QVariantMap& results)
{
    if (response != 0)
        return;
    m_sessionHandle = results.value(QStringLiteral("session_handle")).toString();
    scheduleBind();
}

bool PortalHotKeyBackend::registerHotKey(const Shortcut& shortcut, std::uint32_t id)
{
    if (preferredTrigger(shortcut).isEmpty())
        return false;
    m_shortcuts[id] = shortcut;
    if (!m_bound.contains(id))
        scheduleBind();
    return true;
}

void PortalHotKeyBackend::unregisterHotKey(std::uint32_t id)
{
    m_shortcuts.erase(id);
}

bool PortalHotKeyBackend::installEventHandler(EventCallback callback)
{
    m_callback = std::move(callback);
    return true;
}

void PortalHotKeyBackend::setHotKeyEventsEnabled(bool enabled)
{
    m_eventsEnabled = enabled;
}

void PortalHotKeyBackend::scheduleBind()
{
    if (m_bindPending)
        return;
    m_bindPending = true;
    QMetaObject::invokeMethod(
        this, [this] { bindShortcuts(); }, Qt::QueuedConnection);
}

void PortalHotKeyBackend::bindShortcuts()
{
    m_bindPending = false;
    if (m_sessionHandle.isEmpty() || m_shortcuts.empty())
        return;
    QList<PortalShortcut> shortcuts;
    for (const auto& [id, shortcut] : m_shortcuts) {
        shortcuts.append({idPrefix + QString::number(id),
                          {{QStringLiteral("description"), QStringLiteral("Show or hide Vorlane")},
                           {QStringLiteral("preferred_trigger"), preferredTrigger(shortcut)}}});
        m_bound.insert(id);
    }
    QDBusMessage call = portalCall(QStringLiteral("BindShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(m_sessionHandle)) << QVariant::fromValue(shortcuts)
         << QString()
         << QVariantMap{{QStringLiteral("handle_token"),
                         QStringLiteral("vorlane_%1").arg(++m_tokenCounter)}};
    QDBusConnection::sessionBus().asyncCall(call);
}

void PortalHotKeyBackend::activated(const QDBusMessage& signal)
{
    deliver(HotKeyEvent::Kind::HotKeyPressed, signal);
}

void PortalHotKeyBackend::deactivated(const QDBusMessage& signal)
{
    deliver(HotKeyEvent::Kind::HotKeyReleased, signal);
}

// Activated and Deactivated carry (session handle, shortcut id, timestamp, options).
void PortalHotKeyBackend::deliver(HotKeyEvent::Kind kind, const QDBusMessage& signal)
{
    const QList<QVariant> arguments = signal.arguments();
    if (arguments.size() < 3 ||
        qdbus_cast<QDBusObjectPath>(arguments.at(0)).path() != m_sessionHandle)
        return;
    const QString shortcutId = arguments.at(1).toString();
    const qulonglong timestamp = arguments.at(2).toULongLong();
    bool isNumber = false;
    const uint id =
        shortcutId.startsWith(idPrefix) ? shortcutId.mid(idPrefix.size()).toUInt(&isNumber) : 0;
    // Ids of soft-unregistered shortcuts stay bound at the portal but are not delivered.
    if (!isNumber || !m_eventsEnabled || !m_callback || m_shortcuts.count(id) == 0)
        return;
    HotKeyEvent event;
    event.kind = kind;
    event.signature = CarbonHotKeys::signature;
    event.id = id;
    event.timestamp = static_cast<std::uint32_t>(timestamp);
    m_callback(event);
}

} // namespace HotKeys
