#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>

#include <optional>

// The desktop portal's GlobalShortcuts interface, answering on its own bus connection and
// thread as a portal does: a Response signal on the request object for CreateSession and
// BindShortcuts. How it answers can be set: refusals, triggers of the desktop's own choosing,
// shortcuts left out, answers held back until released.
class StandInShortcutsPortal : public QDBusVirtualObject
{
public:
    struct Bound
    {
        QString id;
        QString preferredTrigger;
        QString description;
    };

    static const QString servicePath;
    static const QString sessionPath;

    explicit StandInShortcutsPortal(QDBusConnection connection);

    QString introspect(const QString&) const override { return QString(); }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override;

    // Back to answering everything at once, binding every shortcut as preferred.
    void reset();
    void setSessionResponse(uint response);
    void setBindResponse(uint response);
    // The desktop's trigger for a shortcut, in its own words ("" binds it without one);
    // nothing leaves the shortcut out of the answer.
    void assignTrigger(const QString& id, const std::optional<QString>& description);
    // Holds back the answers to BindShortcuts until released.
    void holdAnswers();
    void releaseAnswers();

    QList<QList<Bound>> binds() const;
    void emitShortcutSignal(const QString& member, const QString& id);
    void emitShortcutsChanged(const QString& id, const QString& description);

private:
    bool reply(const QDBusMessage& message, const QVariant& value);
    QString requestPath(const QDBusMessage& message, const QVariantMap& options) const;
    void respond(const QString& request, uint response, const QVariantMap& results, bool mayHold);
    bool createSession(const QDBusMessage& message);
    bool bindShortcuts(const QDBusMessage& message);

    QDBusConnection m_connection;
    mutable QMutex m_mutex;
    QList<QList<Bound>> m_binds;
    uint m_sessionResponse = 0;
    uint m_bindResponse = 0;
    QHash<QString, std::optional<QString>> m_assigned;
    bool m_holding = false;
    QList<QDBusMessage> m_held;
};
