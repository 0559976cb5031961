#include "NotificationCenter.h"

#include <QMutexLocker>

NotificationCenter& NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

NotificationCenter::Token NotificationCenter::addObserver(const QString& name,
                                                          const QVariant& object, Block block)
{
    const QMutexLocker locker(&m_mutex);
    const Token token = m_nextToken++;
    m_observers.append({token, name, object, std::make_shared<const Block>(std::move(block))});
    return token;
}

void NotificationCenter::removeObserver(Token token)
{
    const QMutexLocker locker(&m_mutex);
    m_observers.removeIf([token](const Observer& observer) { return observer.token == token; });
}

void NotificationCenter::post(const QString& name, const QVariant& object,
                              const QVariantMap& userInfo)
{
    // Blocks run outside the lock, so they may add or remove observers and post in turn.
    QList<std::shared_ptr<const Block>> matching;
    {
        const QMutexLocker locker(&m_mutex);
        for (const Observer& observer : m_observers)
            if (observer.name == name && (observer.object.isNull() || observer.object == object))
                matching.append(observer.block);
    }
    const Notification notification{name, object, userInfo};
    for (const std::shared_ptr<const Block>& block : matching)
        (*block)(notification);
}
