#include "InstanceEndpoint.h"

#include "SingleInstance.h"

InstanceEndpoint::InstanceEndpoint(SingleInstance* instance)
    : QObject(instance)
    , m_instance(instance)
{}

namespace {
// Qt's Wayland support passes XDG_ACTIVATION_TOKEN to the compositor when a window next asks
// to be activated, so the window of the start that asked may take the focus. A start without
// a token leaves none of an earlier one behind.
void useActivationToken(const QString& token)
{
    if (token.isEmpty())
        qunsetenv("XDG_ACTIVATION_TOKEN");
    else
        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
}
} // namespace

void InstanceEndpoint::Reopen(const QString& startupId, const QString& activationToken)
{
    useActivationToken(activationToken);
    Q_EMIT m_instance->reopenRequested(SingleInstance::timestampFromStartupId(startupId));
}

void InstanceEndpoint::Toggle(const QString& startupId, const QString& activationToken)
{
    useActivationToken(activationToken);
    Q_EMIT m_instance->toggleRequested(SingleInstance::timestampFromStartupId(startupId));
}

void InstanceEndpoint::CenterWindow(const QString& startupId, const QString& activationToken)
{
    useActivationToken(activationToken);
    Q_EMIT m_instance->centerWindowRequested(SingleInstance::timestampFromStartupId(startupId));
}

void InstanceEndpoint::ResetWindowSize(const QString& startupId, const QString& activationToken)
{
    useActivationToken(activationToken);
    Q_EMIT m_instance->resetWindowSizeRequested(SingleInstance::timestampFromStartupId(startupId));
}

void InstanceEndpoint::Reopen(const QString& startupId)
{
    Reopen(startupId, QString());
}

void InstanceEndpoint::Toggle(const QString& startupId)
{
    Toggle(startupId, QString());
}
