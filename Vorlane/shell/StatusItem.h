#pragma once

#include <QObject>

#include <memory>

class QMenu;
class QSystemTrayIcon;

// Vorlane's item in the desktop's tray (its menu-bar item elsewhere), with the status-bar menu.
// Desktops without a tray host show nothing; the window then stays reachable another way.
class StatusItem : public QObject
{
    Q_OBJECT

public:
    explicit StatusItem(QMenu* menu, QObject* parent = nullptr);
    ~StatusItem() override;

    QSystemTrayIcon* trayIcon() const { return m_trayIcon.get(); }
    // Whether a tray host shows the item now.
    static bool isTrayAvailable();

Q_SIGNALS:
    // The item itself was clicked (hosts that do not open the menu on a click).
    void clicked();

private:
    std::unique_ptr<QSystemTrayIcon> m_trayIcon;
};
