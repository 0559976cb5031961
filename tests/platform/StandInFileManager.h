#pragma once

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QStringList>

// A file manager on the session bus as far as Vorlane sees one: the name
// org.freedesktop.FileManager1 and its ShowItems method, which records what it was asked.
class StandInFileManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    struct Call
    {
        QStringList uris;
        QString startupId;
    };

    // Registers on the bus at address; isRegistered() tells whether the name could be had.
    explicit StandInFileManager(const QString& busAddress);
    ~StandInFileManager() override;

    bool isRegistered() const { return m_registered; }
    QList<Call> calls() const { return m_calls; }

public Q_SLOTS:
    Q_SCRIPTABLE void ShowItems(const QStringList& uris, const QString& startupId);

Q_SIGNALS:
    void itemsShown(const QStringList& uris, const QString& startupId);

private:
    QDBusConnection m_bus;
    QList<Call> m_calls;
    bool m_registered = false;
};
