#include "HotKeys/MenuTrackingObserver.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>

namespace HotKeys {

MenuTrackingObserver::MenuTrackingObserver(std::function<void(bool tracking)> onChange)
    : m_onChange(std::move(onChange))
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

MenuTrackingObserver::~MenuTrackingObserver()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool MenuTrackingObserver::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::Show && type != QEvent::Hide) || !watched->isWindowType())
        return false;
    auto* window = static_cast<QWindow*>(watched);
    if (window->type() != Qt::Popup)
        return false;
    if (type == QEvent::Show)
        popupShown(window);
    else
        popupGone(window);
    return false;
}

void MenuTrackingObserver::popupShown(QWindow* window)
{
    if (m_openPopups.contains(window))
        return;
    m_openPopups.insert(window);
    connect(window, &QObject::destroyed, this, [this, window] { popupGone(window); });
    if (m_openPopups.size() == 1)
        m_onChange(true);
}

void MenuTrackingObserver::popupGone(QWindow* window)
{
    if (!m_openPopups.remove(window))
        return;
    disconnect(window, &QObject::destroyed, this, nullptr);
    if (m_openPopups.isEmpty())
        m_onChange(false);
}

} // namespace HotKeys
