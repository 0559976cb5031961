#include "StandInFileManager.h"

namespace {
const QString fileManagerPath = QStringLiteral("/org/freedesktop/FileManager1");
const QString fileManagerConnectionName = QStringLiteral("stand-in-file-manager");
} // namespace

StandInFileManager::StandInFileManager(const QString& busAddress)
    : m_bus(QDBusConnection::connectToBus(busAddress, fileManagerConnectionName))
{
    m_registered =
        m_bus.isConnected() &&
        m_bus.registerObject(fileManagerPath, this, QDBusConnection::ExportScriptableSlots) &&
        m_bus.registerService(QStringLiteral("org.freedesktop.FileManager1"));
}

StandInFileManager::~StandInFileManager()
{
    m_bus.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
    m_bus.unregisterObject(fileManagerPath);
    QDBusConnection::disconnectFromBus(fileManagerConnectionName);
}

void StandInFileManager::ShowItems(const QStringList& uris, const QString& startupId)
{
    m_calls.append({uris, startupId});
    Q_EMIT itemsShown(uris, startupId);
}
