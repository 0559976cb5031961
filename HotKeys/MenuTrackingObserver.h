#pragma once

#include <QObject>
#include <QSet>

#include <functional>

class QWindow;

namespace HotKeys {

// Tells when the application starts and stops showing a menu (any popup window): while one
// is open it holds the keyboard, and global hot keys reach the application only through it.
class MenuTrackingObserver : public QObject
{
public:
    explicit MenuTrackingObserver(std::function<void(bool tracking)> onChange);
    ~MenuTrackingObserver() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void popupShown(QWindow* window);
    void popupGone(QWindow* window);

    std::function<void(bool)> m_onChange;
    QSet<QWindow*> m_openPopups;
};

} // namespace HotKeys
