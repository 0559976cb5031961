#pragma once

#include "AppearanceService.h"

class QDBusMessage;
class QDBusPendingCallWatcher;

// Reads org.freedesktop.appearance color-scheme from the desktop portal's Settings interface
// and follows its SettingChanged signal. Without a session bus or a portal the answer is light;
// start-up never waits long for a portal that is slow to answer.
class PortalAppearanceService : public AppearanceService
{
    Q_OBJECT

public:
    PortalAppearanceService();

    QString interfaceStyle() const override;
    // 0 no preference, 1 prefer dark, 2 prefer light.
    int colorScheme() const { return m_colorScheme; }

private Q_SLOTS:
    void settingChanged(const QDBusMessage& message);

private:
    void readColorScheme();
    void takeReadReply(QDBusPendingCallWatcher* watcher);
    void setColorScheme(int scheme);

    int m_colorScheme = 0;
};
