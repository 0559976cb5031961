#include "StandInShortcutsPortal.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QMutexLocker>

namespace {

const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

// One entry of the portal's a(sa{sv}) lists.
struct PortalEntry
{
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalEntry& entry)
{
    argument.beginStructure();
    argument << entry.id << entry.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalEntry& entry)
{
    argument.beginStructure();
    argument >> entry.id >> entry.properties;
    argument.endStructure();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(PortalEntry)

const QString StandInShortcutsPortal::servicePath =
    QStringLiteral("/org/freedesktop/portal/desktop");
const QString StandInShortcutsPortal::sessionPath =
    QStringLiteral("/org/freedesktop/portal/desktop/session/test/vorlane");

StandInShortcutsPortal::StandInShortcutsPortal(QDBusConnection connection)
    : m_connection(std::move(connection))
{
    qDBusRegisterMetaType<PortalEntry>();
    qDBusRegisterMetaType<QList<PortalEntry>>();
}

bool StandInShortcutsPortal::handleMessage(const QDBusMessage& message, const QDBusConnection&)
{
    if (message.member() == u"Get")
        return reply(message, QVariant::fromValue(QDBusVariant(1U)));
    if (message.member() == u"CreateSession")
        return createSession(message);
    if (message.member() == u"BindShortcuts")
        return bindShortcuts(message);
    return false;
}

void StandInShortcutsPortal::reset()
{
    QMutexLocker locker(&m_mutex);
    m_binds.clear();
    m_sessionResponse = 0;
    m_bindResponse = 0;
    m_assigned.clear();
    m_holding = false;
    m_held.clear();
}

void StandInShortcutsPortal::setSessionResponse(uint response)
{
    QMutexLocker locker(&m_mutex);
    m_sessionResponse = response;
}

void StandInShortcutsPortal::setBindResponse(uint response)
{
    QMutexLocker locker(&m_mutex);
    m_bindResponse = response;
}

void StandInShortcutsPortal::assignTrigger(const QString& id,
                                           const std::optional<QString>& description)
{
    QMutexLocker locker(&m_mutex);
    m_assigned.insert(id, description);
}

void StandInShortcutsPortal::holdAnswers()
{
    QMutexLocker locker(&m_mutex);
    m_holding = true;
}

void StandInShortcutsPortal::releaseAnswers()
{
    QMutexLocker locker(&m_mutex);
    m_holding = false;
    for (const QDBusMessage& answer : std::as_const(m_held))
        m_connection.send(answer);
    m_held.clear();
}

QList<QList<StandInShortcutsPortal::Bound>> StandInShortcutsPortal::binds() const
{
    QMutexLocker locker(&m_mutex);
    return m_binds;
}

void StandInShortcutsPortal::emitShortcutSignal(const QString& member, const QString& id)
{
    QDBusMessage signal = QDBusMessage::createSignal(servicePath, shortcutsInterface, member);
    signal << QVariant::fromValue(QDBusObjectPath(sessionPath)) << id
           << QVariant::fromValue(qulonglong(1234)) << QVariantMap();
    m_connection.send(signal);
}

void StandInShortcutsPortal::emitShortcutsChanged(const QString& id, const QString& description)
{
    QDBusMessage signal = QDBusMessage::createSignal(servicePath, shortcutsInterface,
                                                     QStringLiteral("ShortcutsChanged"));
    const QList<PortalEntry> entries{{id, {{QStringLiteral("trigger_description"), description}}}};
    signal << QVariant::fromValue(QDBusObjectPath(sessionPath)) << QVariant::fromValue(entries);
    m_connection.send(signal);
}

bool StandInShortcutsPortal::reply(const QDBusMessage& message, const QVariant& value)
{
    return m_connection.send(message.createReply(value));
}

QString StandInShortcutsPortal::requestPath(const QDBusMessage& message,
                                            const QVariantMap& options) const
{
    QString sender = message.service().mid(1);
    sender.replace(u'.', u'_');
    return servicePath + QStringLiteral("/request/") + sender + u'/' +
           options.value(QStringLiteral("handle_token")).toString();
}

void StandInShortcutsPortal::respond(const QString& request, uint response,
                                     const QVariantMap& results, bool mayHold)
{
    QDBusMessage answer = QDBusMessage::createSignal(
        request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
    answer << response << results;
    if (mayHold && m_holding)
        m_held.append(answer);
    else
        m_connection.send(answer);
}

bool StandInShortcutsPortal::createSession(const QDBusMessage& message)
{
    const auto options = qdbus_cast<QVariantMap>(message.arguments().at(0));
    const QString request = requestPath(message, options);
    reply(message, QVariant::fromValue(QDBusObjectPath(request)));
    QMutexLocker locker(&m_mutex);
    const QVariantMap results = m_sessionResponse == 0
                                    ? QVariantMap{{QStringLiteral("session_handle"), sessionPath}}
                                    : QVariantMap();
    respond(request, m_sessionResponse, results, false);
    return true;
}

bool StandInShortcutsPortal::bindShortcuts(const QDBusMessage& message)
{
    const auto asked = qdbus_cast<QList<PortalEntry>>(message.arguments().at(1));
    const auto options = qdbus_cast<QVariantMap>(message.arguments().at(3));
    const QString request = requestPath(message, options);
    reply(message, QVariant::fromValue(QDBusObjectPath(request)));
    QMutexLocker locker(&m_mutex);
    QList<Bound> bound;
    QList<PortalEntry> answered;
    for (const PortalEntry& entry : asked) {
        const QString preferred =
            entry.properties.value(QStringLiteral("preferred_trigger")).toString();
        bound.append({entry.id, preferred,
                      entry.properties.value(QStringLiteral("description")).toString()});
        const std::optional<QString> trigger = m_assigned.value(entry.id, preferred);
        if (trigger)
            answered.append({entry.id, {{QStringLiteral("trigger_description"), *trigger}}});
    }
    m_binds.append(bound);
    respond(request, m_bindResponse,
            m_bindResponse == 0
                ? QVariantMap{{QStringLiteral("shortcuts"), QVariant::fromValue(answered)}}
                : QVariantMap(),
            true);
    return true;
}
