#include "InstanceEndpoint.h"

#include "SingleInstance.h"

InstanceEndpoint::InstanceEndpoint(SingleInstance* instance)
    : QObject(instance)
    , m_instance(instance)
{}

void InstanceEndpoint::Reopen(const QString& startupId)
{
    Q_EMIT m_instance->reopenRequested(SingleInstance::timestampFromStartupId(startupId));
}

void InstanceEndpoint::Toggle(const QString& startupId)
{
    Q_EMIT m_instance->toggleRequested(SingleInstance::timestampFromStartupId(startupId));
}
