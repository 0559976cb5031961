#pragma once

#include "HotKeys/HotKeyBackend.h"

#include <QDBusMessage>
#include <QHash>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <map>
#include <memory>

namespace HotKeys {

// Global shortcuts through the desktop portal's GlobalShortcuts interface, for Wayland
// sessions. The desktop has the last word on the trigger: the stored shortcut is only offered
// as the preferred one, and the portal answers later, possibly with another trigger or none.
// Each name is bound under its own raw value, so recording a new shortcut re-binds the same
// portal shortcut instead of adding one. Activated is the press, Deactivated the release.
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
    void setObserver(Observer observer) override;
    SystemBinding binding(std::uint32_t id, const QString& name) const override;

private Q_SLOTS:
    void sessionAnswered(const QDBusMessage& response);
    void bindAnswered(const QDBusMessage& response);
    void shortcutsChanged(const QDBusMessage& signal);
    void activated(const QDBusMessage& signal);
    void deactivated(const QDBusMessage& signal);

private:
    // A portal shortcut: the registration it presses, and the trigger it was offered with.
    struct Offer
    {
        std::uint32_t id = 0;
        QString preferredTrigger;
    };

    PortalHotKeyBackend();

    QString nextRequest(const char* answerSlot, QString* token);
    void createSession();
    void refuseSession();
    void announce();
    void scheduleBind();
    QMap<QString, Offer> wantedOffers() const;
    void bindShortcuts();
    void sendBind();
    void bindFailed(const QStringList& portalIds);
    void recordTriggers(const QHash<QString, QString>& triggers, const QStringList& portalIds);
    void deliver(HotKeyEvent::Kind kind, const QDBusMessage& signal);

    std::map<std::uint32_t, Shortcut> m_shortcuts;
    // The portal shortcuts the desktop was last asked for, by portal id; Activated and
    // Deactivated are routed through these.
    QMap<QString, Offer> m_offers;
    // The desktop's answers, by portal id.
    QHash<QString, SystemBinding> m_answers;
    // Bind requests waiting for their answer, by request path.
    QHash<QString, QStringList> m_requests;
    QString m_sessionHandle;
    EventCallback m_callback;
    Observer m_observer;
    bool m_sessionRefused = false;
    bool m_eventsEnabled = false;
    bool m_bindPending = false;
    int m_tokenCounter = 0;
};

} // namespace HotKeys
