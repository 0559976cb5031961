#include "AppDelegate.h"

#include "BundleLauncher.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDir>

#include <cstdio>

const QString AppDelegate::killLauncherName = QStringLiteral("killLauncher");
const QString AppDelegate::mainBundleIdentifier = QStringLiteral("com.ostrel.Vorlane");
const QString AppDelegate::launcherIdentifier = QStringLiteral("com.ostrel.VorlaneHelper");

namespace {
// Where Vorlane sends "killLauncher" from, and the launcher's own object.
const QString vorlaneObjectPath = QStringLiteral("/com/ostrel/Vorlane");
const QString vorlaneInterface = QStringLiteral("com.ostrel.Vorlane");
const QString launcherObjectPath = QStringLiteral("/com/ostrel/VorlaneHelper");

// The launcher's log lines go to standard error, where the session keeps them.
void log(const QString& line)
{
    std::fputs(qPrintable(line + u'\n'), stderr);
    std::fflush(stderr);
}
} // namespace

AppDelegate::AppDelegate(QObject* parent)
    : QObject(parent)
{}

void AppDelegate::applicationDidFinishLaunching()
{
    log(QStringLiteral("-- VORLANE HELPER: Did finish Launching --"));
    observeKillLauncher();
    const QString mainBundle = mainBundlePath(ownBundlePath());
    log(QStringLiteral("-- HELPER: Launching app..."));
    // A failed start changes nothing: the launcher goes on waiting.
    if (const QString error = BundleLauncher::launch(mainBundle); !error.isEmpty())
        log(QStringLiteral("Error: ") + error);
}

void AppDelegate::observeKillLauncher()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        log(QStringLiteral("Error: no session bus to hear killLauncher on: ") +
            bus.lastError().message());
        return;
    }
    // Listening first, then the name: whoever sees the name may send "killLauncher" at once.
    bus.connect(QString(), vorlaneObjectPath, vorlaneInterface, killLauncherName, this,
                SLOT(killLauncherReceived(QString)));
    // The object exports nothing, but a call to it (Introspect) is answered only after
    // everything the bus delivered before it has been handled: a caller can tell that a signal
    // it sent was seen.
    bus.registerObject(launcherObjectPath, this);
    bus.interface()->registerService(launcherIdentifier, QDBusConnectionInterface::QueueService,
                                     QDBusConnectionInterface::DontAllowReplacement);
}

void AppDelegate::killLauncherReceived(const QString& object)
{
    if (object == mainBundleIdentifier)
        terminate();
}

void AppDelegate::terminate()
{
    QCoreApplication::quit();
}

void AppDelegate::applicationWillTerminate()
{
    log(QStringLiteral("-- VORLANE HELPER: Terminate Helper"));
}

QString AppDelegate::ownBundlePath()
{
    const QString executableFolder = QCoreApplication::applicationDirPath();
    const QString bundle = QDir::cleanPath(executableFolder + QStringLiteral("/../.."));
    return bundle.endsWith(QStringLiteral(".app")) ? bundle : executableFolder;
}

QString AppDelegate::mainBundlePath(const QString& ownBundle)
{
    QString path = QDir::cleanPath(ownBundle);
    for (int i = 0; i < componentsToMainBundle; ++i)
        path = QDir::cleanPath(path + QStringLiteral("/.."));
    return path;
}
