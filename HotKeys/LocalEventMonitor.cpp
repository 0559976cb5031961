#include "HotKeys/LocalEventMonitor.h"

#include <QCoreApplication>

namespace HotKeys {

LocalEventMonitor::LocalEventMonitor(QList<QEvent::Type> events, Callback callback)
    : m_events(std::move(events))
    , m_callback(std::move(callback))
{}

LocalEventMonitor::~LocalEventMonitor()
{
    stop();
}

void LocalEventMonitor::start()
{
    if (m_running || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->installEventFilter(this);
    m_running = true;
}

void LocalEventMonitor::stop()
{
    if (!m_running)
        return;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    m_running = false;
}

bool LocalEventMonitor::eventFilter(QObject* receiver, QEvent* event)
{
    if (!m_running || !m_events.contains(event->type()))
        return false;
    return m_callback(receiver, event);
}

} // namespace HotKeys
