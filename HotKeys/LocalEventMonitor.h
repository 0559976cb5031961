#pragma once

#include <QEvent>
#include <QList>
#include <QObject>

#include <functional>

namespace HotKeys {

// Sees the application's events of the given types before their receivers do, while started.
// The callback returns true to swallow an event, false to pass it on.
class LocalEventMonitor : public QObject
{
public:
    using Callback = std::function<bool(QObject* receiver, QEvent* event)>;

    LocalEventMonitor(QList<QEvent::Type> events, Callback callback);
    ~LocalEventMonitor() override;

    void start();
    void stop();
    bool isRunning() const { return m_running; }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    QList<QEvent::Type> m_events;
    Callback m_callback;
    bool m_running = false;
};

} // namespace HotKeys
