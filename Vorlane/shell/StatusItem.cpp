#include "StatusItem.h"

#include "ImageNamed.h"
#include "TrayIconEngine.h"

#include <QMenu>
#include <QSystemTrayIcon>

StatusItem::StatusItem(QMenu* menu, QObject* parent)
    : QObject(parent)
    , m_trayIcon(std::make_unique<QSystemTrayIcon>(
          QIcon(new TrayIconEngine(imageNamed(QStringLiteral("MenuBar"))))))
{
    m_trayIcon->setToolTip(QStringLiteral("Vorlane"));
    m_trayIcon->setContextMenu(menu);
    connect(m_trayIcon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    Q_EMIT clicked();
            });
    // A host that starts after Vorlane (at login) still gets the item: Qt registers it late.
    m_trayIcon->show();
}

StatusItem::~StatusItem() = default;

bool StatusItem::isTrayAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}
