#pragma once

#include <QList>
#include <QMutex>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <functional>

// The notifications parts of the program send each other, by name.
namespace NotificationName {
inline const QString backgroundUpdate = QStringLiteral("background update");
inline const QString resignActive = QStringLiteral("resign active");
inline const QString clickedFileRow = QStringLiteral("clicked file row");
inline const QString toggleModifierKey = QStringLiteral("toggle modifier key");
inline const QString appearanceChanged = QStringLiteral("appearance changed");
inline const QString interfaceThemeChanged =
    QStringLiteral("AppleInterfaceThemeChangedNotification");
inline const QString shortcutByNameDidChange = QStringLiteral("HotKeys_shortcutByNameDidChange");
} // namespace NotificationName

struct Notification
{
    QString name;
    QVariant object;
    QVariantMap userInfo;
};

// An in-process notification center: observers register for a name (and optionally a sender
// object) with a block, and every post calls the matching blocks on the posting thread, in the
// order they were added. Posting from any thread is safe; observers that touch the interface must
// hop to the main thread themselves.
class NotificationCenter
{
public:
    using Block = std::function<void(const Notification&)>;
    using Token = quint64;

    static NotificationCenter& defaultCenter();

    // A null object observes every sender.
    Token addObserver(const QString& name, const QVariant& object, Block block);
    void removeObserver(Token token);
    void post(const QString& name, const QVariant& object = {}, const QVariantMap& userInfo = {});

private:
    struct Observer
    {
        Token token = 0;
        QString name;
        QVariant object;
        std::shared_ptr<const Block> block;
    };

    QMutex m_mutex;
    QList<Observer> m_observers;
    Token m_nextToken = 1;
};
