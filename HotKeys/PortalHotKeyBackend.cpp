#include "HotKeys/PortalHotKeyBackend.h"

#include "HotKeys/CarbonHotKeys.h"
#include "HotKeys/CarbonKeyTable.h"
#include "HotKeys/HotKeys.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QStringList>

#include <array>
#include <optional>
#include <xkbcommon/xkbcommon.h>

namespace HotKeys {
namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

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

// The application's own word for its requests and its session, as the portal wants tokens:
// letters, digits and underscores.
QString applicationToken()
{
    QString token = QCoreApplication::applicationName().toLower();
    for (QChar& c : token) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128))
            c = u'_';
    }
    return token.isEmpty() ? QStringLiteral("hotkeys") : token;
}

// How the desktop lists a portal shortcut: what its name says it does, else its id.
QString descriptionOf(const QString& portalId)
{
    const std::optional<Name> name = knownName(portalId);
    return name && !name->purpose().description.isEmpty() ? name->purpose().description : portalId;
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

// The portal id of a registration that no name holds (only direct users of the layer make
// those); stable for the combination.
QString anonymousPortalId(const Shortcut& shortcut)
{
    return QStringLiteral("shortcut-%1-%2")
        .arg(shortcut.carbonKeyCode)
        .arg(shortcut.carbonModifiers);
}

// Arguments are checked before they are read: the answer comes from another program.
std::optional<QDBusArgument> argumentOfSignature(const QVariant& value, QLatin1StringView signature)
{
    if (value.typeId() != qMetaTypeId<QDBusArgument>())
        return std::nullopt;
    const auto argument = value.value<QDBusArgument>();
    if (argument.currentSignature() != signature)
        return std::nullopt;
    return argument;
}

QVariantMap mapArgument(const QVariant& value)
{
    const auto argument = argumentOfSignature(value, QLatin1StringView("a{sv}"));
    return argument ? qdbus_cast<QVariantMap>(*argument) : QVariantMap();
}

// The portal's list of shortcuts, a(sa{sv}), as their triggers in the desktop's words.
QHash<QString, QString> triggersOf(const QVariant& value)
{
    const auto argument = argumentOfSignature(value, QLatin1StringView("a(sa{sv})"));
    if (!argument)
        return {};
    QHash<QString, QString> triggers;
    for (const PortalShortcut& shortcut : qdbus_cast<QList<PortalShortcut>>(*argument)) {
        triggers.insert(
            shortcut.id,
            shortcut.properties.value(QStringLiteral("trigger_description")).toString());
    }
    return triggers;
}

// Some portals give the session handle as a string, others as an object path.
QString objectPathOf(const QVariant& value)
{
    if (value.typeId() == qMetaTypeId<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

SystemBinding answered(const QString& trigger)
{
    // A shortcut the desktop keeps without a trigger cannot be pressed.
    if (trigger.isEmpty())
        return {SystemBinding::State::refused, {}};
    return {SystemBinding::State::granted, trigger};
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
    bus.connect(portalService, portalPath, shortcutsInterface, QStringLiteral("ShortcutsChanged"),
                this, SLOT(shortcutsChanged(QDBusMessage)));
    createSession();
}

// A fresh request token, and the object the portal will answer on, already listened to.
QString PortalHotKeyBackend::nextRequest(const char* answerSlot, QString* token)
{
    *token = applicationToken() + QStringLiteral("_%1").arg(++m_tokenCounter);
    QDBusConnection bus = QDBusConnection::sessionBus();
    QString sender = bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    const QString request = portalPath + QStringLiteral("/request/") + sender + u'/' + *token;
    bus.connect(portalService, request, requestInterface, QStringLiteral("Response"), this,
                answerSlot);
    return request;
}

void PortalHotKeyBackend::createSession()
{
    QString token;
    nextRequest(SLOT(sessionAnswered(QDBusMessage)), &token);
    QDBusMessage call = portalCall(QStringLiteral("CreateSession"));
    call << QVariantMap{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("session_handle_token"), applicationToken()}};
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                if (finished->isError())
                    refuseSession();
            });
}

// Response carries (response code, results); 0 is success, anything else a refusal.
void PortalHotKeyBackend::sessionAnswered(const QDBusMessage& response)
{
    const QList<QVariant> arguments = response.arguments();
    const bool accepted = arguments.size() == 2 && arguments.at(0).toUInt() == 0;
    const QVariantMap results = accepted ? mapArgument(arguments.at(1)) : QVariantMap();
    m_sessionHandle = objectPathOf(results.value(QStringLiteral("session_handle")));
    if (m_sessionHandle.isEmpty())
        refuseSession();
    else
        scheduleBind();
}

// Without a session the desktop binds nothing.
void PortalHotKeyBackend::refuseSession()
{
    m_sessionRefused = true;
    announce();
}

void PortalHotKeyBackend::announce()
{
    if (m_observer.bindingsChanged)
        m_observer.bindingsChanged();
}

bool PortalHotKeyBackend::registerHotKey(const Shortcut& shortcut, std::uint32_t id)
{
    if (preferredTrigger(shortcut).isEmpty())
        return false;
    m_shortcuts[id] = shortcut;
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

void PortalHotKeyBackend::setObserver(Observer observer)
{
    m_observer = std::move(observer);
}

SystemBinding PortalHotKeyBackend::binding(std::uint32_t id, const QString& name) const
{
    if (m_sessionRefused)
        return {SystemBinding::State::refused, {}};
    QString portalId = name;
    const auto registration = m_shortcuts.find(id);
    if (!m_offers.contains(portalId) && registration != m_shortcuts.end())
        portalId = anonymousPortalId(registration->second);
    return m_answers.value(portalId, {SystemBinding::State::pending, {}});
}

// The bind waits for the event loop: the names' stored shortcuts are written after the
// registration, and several registrations in a row make one request.
void PortalHotKeyBackend::scheduleBind()
{
    if (m_bindPending)
        return;
    m_bindPending = true;
    QMetaObject::invokeMethod(
        this, [this] { bindShortcuts(); }, Qt::QueuedConnection);
}

QMap<QString, PortalHotKeyBackend::Offer> PortalHotKeyBackend::wantedOffers() const
{
    QMap<QString, Offer> offers;
    for (const auto& [id, shortcut] : m_shortcuts) {
        QStringList portalIds = namesOfShortcut(shortcut);
        if (portalIds.isEmpty())
            portalIds.append(anonymousPortalId(shortcut));
        for (const QString& portalId : std::as_const(portalIds))
            offers.insert(portalId, {id, preferredTrigger(shortcut)});
    }
    return offers;
}

// Every bind sends all the shortcuts wanted now. Opening a menu takes the registrations back
// and makes them again: that changes nothing the desktop is asked, so it is not asked again.
void PortalHotKeyBackend::bindShortcuts()
{
    m_bindPending = false;
    if (m_sessionHandle.isEmpty())
        return;
    const QMap<QString, Offer> wanted = wantedOffers();
    bool changed = wanted.keys() != m_offers.keys();
    for (auto offer = wanted.cbegin(); !changed && offer != wanted.cend(); ++offer)
        changed = offer->preferredTrigger != m_offers.value(offer.key()).preferredTrigger;
    m_offers = wanted;
    if (changed && !wanted.isEmpty())
        sendBind();
}

void PortalHotKeyBackend::sendBind()
{
    const QStringList portalIds = m_offers.keys();
    QList<PortalShortcut> shortcuts;
    for (auto offer = m_offers.cbegin(); offer != m_offers.cend(); ++offer) {
        shortcuts.append({offer.key(),
                          {{QStringLiteral("description"), descriptionOf(offer.key())},
                           {QStringLiteral("preferred_trigger"), offer->preferredTrigger}}});
        m_answers.insert(offer.key(), {SystemBinding::State::pending, {}});
    }
    // An earlier request still unanswered no longer speaks for these shortcuts.
    for (QStringList& earlier : m_requests) {
        for (const QString& portalId : portalIds)
            earlier.removeAll(portalId);
    }
    QString token;
    const QString request = nextRequest(SLOT(bindAnswered(QDBusMessage)), &token);
    m_requests.insert(request, portalIds);
    QDBusMessage call = portalCall(QStringLiteral("BindShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(m_sessionHandle)) << QVariant::fromValue(shortcuts)
         << QString() << QVariantMap{{QStringLiteral("handle_token"), token}};
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, request](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                if (finished->isError())
                    bindFailed(m_requests.take(request));
            });
    announce();
}

void PortalHotKeyBackend::bindFailed(const QStringList& portalIds)
{
    for (const QString& portalId : portalIds)
        m_answers.insert(portalId, {SystemBinding::State::refused, {}});
    announce();
}

// The results list the shortcuts the desktop bound, each with its trigger in the desktop's
// words; a shortcut asked for but not listed was not bound.
void PortalHotKeyBackend::bindAnswered(const QDBusMessage& response)
{
    if (!m_requests.contains(response.path()))
        return;
    const QStringList asked = m_requests.take(response.path());
    const QList<QVariant> arguments = response.arguments();
    if (arguments.size() != 2 || arguments.at(0).toUInt() != 0) {
        bindFailed(asked);
        return;
    }
    recordTriggers(triggersOf(mapArgument(arguments.at(1)).value(QStringLiteral("shortcuts"))),
                   asked);
}

// The user changed triggers in the desktop's settings: (session handle, shortcuts).
void PortalHotKeyBackend::shortcutsChanged(const QDBusMessage& signal)
{
    const QList<QVariant> arguments = signal.arguments();
    if (arguments.size() != 2 || objectPathOf(arguments.at(0)) != m_sessionHandle)
        return;
    const QHash<QString, QString> triggers = triggersOf(arguments.at(1));
    QStringList known;
    for (auto trigger = triggers.cbegin(); trigger != triggers.cend(); ++trigger) {
        if (m_answers.contains(trigger.key()))
            known.append(trigger.key());
    }
    recordTriggers(triggers, known);
}

// The desktop's triggers for these portal shortcuts; one it does not list is not bound.
void PortalHotKeyBackend::recordTriggers(const QHash<QString, QString>& triggers,
                                         const QStringList& portalIds)
{
    for (const QString& portalId : portalIds) {
        const auto listed = triggers.constFind(portalId);
        m_answers.insert(portalId, listed == triggers.cend()
                                       ? SystemBinding{SystemBinding::State::refused, {}}
                                       : answered(*listed));
    }
    announce();
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
    if (arguments.size() < 3 || m_sessionHandle.isEmpty() ||
        objectPathOf(arguments.at(0)) != m_sessionHandle)
        return;
    const auto offer = m_offers.constFind(arguments.at(1).toString());
    // Shortcuts taken back (an open menu, a changed shortcut) are not delivered.
    if (offer == m_offers.cend() || !m_eventsEnabled || !m_callback ||
        m_shortcuts.count(offer->id) == 0)
        return;
    HotKeyEvent event;
    event.kind = kind;
    event.signature = CarbonHotKeys::signature;
    event.id = offer->id;
    event.timestamp = static_cast<std::uint32_t>(arguments.at(2).toULongLong());
    m_callback(event);
}

} // namespace HotKeys
