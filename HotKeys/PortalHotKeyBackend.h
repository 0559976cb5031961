#pragma once

#include "HotKeys/HotKeyBackend.h"

#include <QDBusMessage>
#include <QObject>
#include <QSet>
#include <QVariantMap>

#include <map>
#include <memory>

namespace HotKeys {

// Global shortcuts through the desktop portal's GlobalShortcuts interface, for Wayland
// sessions. The desktop has the last word on the trigger: the stored shortcut is only offered
// as the preferred one. Activated is the press, Deactivated the release.
class PortalHotKeyBackend : public QObject, public HotKeyBackend
{
    Q_OBJECT

public:
    // Nothing when the session's portal has no GlobalShortcuts interface.
    static std::unique_ptr<PortalHotKeyBackend> create();

    bool registerHotKey(const Shortcut& shortcut, std::uint32_t id) override;
    void unregisterHotKey(std::uint32_t id) override;
    bool installEventHandler(EventCallback callback) override;
    void setHotKeyEventsEnabled(bool enabled) override;

private Q_SLOTS:
    void sessionCreated(uint response, const QVariantMap& results);
    void activated(const QDBusMessage& signal);
    void deactivated(const QDBusMessage& signal);

private:
    PortalHotKeyBackend();

    QString requestPath(const QString& token) const;
    void createSession();
    void scheduleBind();
    void bindShortcuts();
    void deliver(HotKeyEvent::Kind kind, const QDBusMessage& signal);

    std::map<std::uint32_t, Shortcut> m_shortcuts;
    // Ids the portal knows; soft unregistration (an open menu) must not ask the user again.
    QSet<std::uint32_t> m_bound;
    QString m_sessionHandle;
    EventCallback m_callback;
    bool m_eventsEnabled = false;
    bool m_bindPending = false;
    int m_tokenCounter = 0;
};

} // namespace HotKeys
