#include "TelemetryClient.h"

#include <QMutexLocker>

namespace {
// Enough to check recent calls; the list never grows without bound in a long session.
constexpr qsizetype maximumRememberedEvents = 100;
} // namespace

TelemetryClient& TelemetryClient::shared()
{
    static TelemetryClient client;
    return client;
}

void TelemetryClient::start(const QString&, const QStringList&)
{
    const QMutexLocker locker(&m_mutex);
    m_started = true;
}

void TelemetryClient::trackEvent(const QString& name)
{
    const QMutexLocker locker(&m_mutex);
    m_events.append(name);
    if (m_events.size() > maximumRememberedEvents)
        m_events.removeFirst();
}

bool TelemetryClient::isStarted() const
{
    const QMutexLocker locker(&m_mutex);
    return m_started;
}

QStringList TelemetryClient::trackedEvents() const
{
    const QMutexLocker locker(&m_mutex);
    return m_events;
}
