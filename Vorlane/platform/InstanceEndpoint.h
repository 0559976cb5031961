#pragma once

#include <QObject>

class SingleInstance;

// The running instance's object on the session bus, receiving what later starts hand over.
class InstanceEndpoint : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.ostrel.Vorlane")

public:
    explicit InstanceEndpoint(SingleInstance* instance);

public Q_SLOTS:
    Q_SCRIPTABLE void Reopen(const QString& startupId, const QString& activationToken);
    Q_SCRIPTABLE void Toggle(const QString& startupId, const QString& activationToken);
    Q_SCRIPTABLE void CenterWindow(const QString& startupId, const QString& activationToken);
    Q_SCRIPTABLE void ResetWindowSize(const QString& startupId, const QString& activationToken);
    // For callers that have no activation token to pass (scripts, earlier versions).
    Q_SCRIPTABLE void Reopen(const QString& startupId);
    Q_SCRIPTABLE void Toggle(const QString& startupId);

private:
    SingleInstance* m_instance;
};
