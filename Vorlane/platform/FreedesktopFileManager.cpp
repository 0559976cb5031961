#include "FreedesktopFileManager.h"

#include "X11Window.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QUrl>

#include <gio/gio.h>

const QString FreedesktopFileManager::serviceName = QStringLiteral("org.freedesktop.FileManager1");
const QString FreedesktopFileManager::objectPath = QStringLiteral("/org/freedesktop/FileManager1");
const QString FreedesktopFileManager::interfaceName =
    QStringLiteral("org.freedesktop.FileManager1");

namespace {
void openWithDefaultHandler(const QByteArray& folderUri)
{
    GError* error = nullptr;
    g_app_info_launch_default_for_uri(folderUri.constData(), nullptr, &error);
    if (error)
        g_error_free(error);
}
} // namespace

FreedesktopFileManager::FreedesktopFileManager()
    : m_folderOpener(std::make_unique<QThreadPool>())
{
    m_folderOpener->setMaxThreadCount(1);
}

FreedesktopFileManager::~FreedesktopFileManager()
{
    m_folderOpener->waitForDone();
}

void FreedesktopFileManager::selectFile(const QString& path)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openFolderOf(path);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(serviceName, objectPath, interfaceName,
                                                       QStringLiteral("ShowItems"));
    call << QStringList{QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded())} << startupId();
    // The bus starts a file manager that is installed but not running, which can take seconds:
    // the answer is awaited without blocking. The watcher belongs to the application, so one
    // still waiting when the program ends goes while the bus is still there.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), QCoreApplication::instance());
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, path] {
        watcher->deleteLater();
        if (watcher->isError() && meansNoFileManager(watcher->error()))
            openFolderOf(path);
    });
}

bool FreedesktopFileManager::meansNoFileManager(const QDBusError& error)
{
    switch (error.type()) {
    case QDBusError::ServiceUnknown:
    case QDBusError::UnknownObject:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownMethod:
    case QDBusError::Disconnected:
        return true;
    default:
        // Starting an activatable file manager failed.
        return error.name().startsWith(QStringLiteral("org.freedesktop.DBus.Error.Spawn."));
    }
}

QString FreedesktopFileManager::startupId()
{
    static QAtomicInt sequence;
    const std::uint32_t time = X11Window::serverTime();
    if (!time)
        return {};
    return QStringLiteral("vorlane-%1-%2_TIME%3")
        .arg(QCoreApplication::applicationPid())
        .arg(sequence.fetchAndAddRelaxed(1))
        .arg(time);
}

void FreedesktopFileManager::openFolderOf(const QString& path)
{
    const QByteArray folderUri = QUrl::fromLocalFile(QFileInfo(path).absolutePath()).toEncoded();
    m_folderOpener->start([folderUri] { openWithDefaultHandler(folderUri); });
}
