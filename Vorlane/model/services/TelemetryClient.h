#pragma once

#include <QMutex>
#include <QString>
#include <QStringList>

// Usage events and crash reporting. This client sends nothing anywhere: it only remembers, in
// memory, that it was started and which events were tracked, so the calls stay where they
// belong and can be checked.
class TelemetryClient
{
public:
    static TelemetryClient& shared();

    void start(const QString& appSecret, const QStringList& services);
    void trackEvent(const QString& name);

    bool isStarted() const;
    QStringList trackedEvents() const;

private:
    mutable QMutex m_mutex;
    bool m_started = false;
    QStringList m_events;
};
