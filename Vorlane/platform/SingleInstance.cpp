#include "SingleInstance.h"

#include "InstanceEndpoint.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QRegularExpression>

const QString SingleInstance::serviceName = QStringLiteral("com.ostrel.Vorlane");
const QString SingleInstance::objectPath = QStringLiteral("/com/ostrel/Vorlane");
const QString SingleInstance::interfaceName = QStringLiteral("com.ostrel.Vorlane");

namespace {
// The running instance may still be starting; it answers once its event loop runs.
constexpr int handOverTimeoutMs = 10000;

QString methodFor(SingleInstance::Request request)
{
    switch (request) {
    case SingleInstance::Request::toggle:
        return QStringLiteral("Toggle");
    case SingleInstance::Request::centerWindow:
        return QStringLiteral("CenterWindow");
    case SingleInstance::Request::resetWindowSize:
        return QStringLiteral("ResetWindowSize");
    case SingleInstance::Request::reopen:
        break;
    }
    return QStringLiteral("Reopen");
}
} // namespace

SingleInstance::SingleInstance(QObject* parent)
    : QObject(parent)
{}

SingleInstance::~SingleInstance()
{
    if (!m_ownsName)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(objectPath);
    bus.unregisterService(serviceName);
}

bool SingleInstance::claim()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return true;
    // The object is in place before the name, so a start that finds the name can call it.
    bus.registerObject(objectPath, new InstanceEndpoint(this),
                       QDBusConnection::ExportScriptableSlots);
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus.interface()->registerService(serviceName, QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    m_ownsName = reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
    if (!m_ownsName)
        bus.unregisterObject(objectPath);
    // A bus that cannot say who owns the name leaves this start running on its own.
    return m_ownsName || !reply.isValid();
}

bool SingleInstance::handOver(Request request, const QString& startupId,
                              const QString& activationToken)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(serviceName, objectPath, interfaceName, methodFor(request));
    call << startupId << activationToken;
    return bus.call(call, QDBus::Block, handOverTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

std::uint32_t SingleInstance::timestampFromStartupId(const QString& startupId)
{
    static const QRegularExpression time(QStringLiteral("_TIME(\\d+)$"));
    const QRegularExpressionMatch match = time.match(startupId);
    return match.hasMatch() ? match.captured(1).toUInt() : 0;
}
