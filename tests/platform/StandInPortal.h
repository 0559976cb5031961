#pragma once

#include <QDBusConnection>
#include <QDBusVariant>
#include <QObject>

// The desktop portal's Settings interface, as Debian 12's portal answers it (Read wraps the
// value in a second variant), serving org.freedesktop.appearance color-scheme.
class StandInPortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    // Registers on the bus at address; isRegistered() tells whether the name could be had.
    explicit StandInPortal(const QString& busAddress);
    ~StandInPortal() override;

    bool isRegistered() const { return m_registered; }
    // Changes the scheme (0 none, 1 dark, 2 light) and announces it with SettingChanged.
    void setColorScheme(uint scheme);

public Q_SLOTS:
    Q_SCRIPTABLE QDBusVariant Read(const QString& nameSpace, const QString& key);

private:
    QDBusConnection m_bus;
    uint m_scheme = 0;
    bool m_registered = false;
};
