#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>

// The desktop panel's side of the tray (org.kde.StatusNotifierWatcher, with a host registered),
// as Plasma, Xfce and the GNOME extension offer it; it keeps the items that register.
class StandInTrayHost : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)

public:
    explicit StandInTrayHost(const QString& busAddress);
    ~StandInTrayHost() override;

    bool isRegistered() const { return m_registered; }
    bool isHostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const { return m_items; }

    // The labels of the item's menu, read through its exported menu as a panel reads them, with
    // each item's shortcut after a tab ("Open Vorlane\tControl+Shift+Space").
    QStringList menuLabels(const QString& item) const;

public Q_SLOTS:
    Q_SCRIPTABLE void RegisterStatusNotifierItem(const QString& service);
    Q_SCRIPTABLE void RegisterStatusNotifierHost(const QString& service);

Q_SIGNALS:
    Q_SCRIPTABLE void StatusNotifierItemRegistered(const QString& service);

private:
    QDBusConnection m_bus;
    QStringList m_items;
    bool m_registered = false;
};
