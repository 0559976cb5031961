#pragma once

#include <QObject>
#include <QString>

// The launcher's work: it listens for Vorlane's "killLauncher" on the session bus, starts the
// Vorlane bundle that contains its own bundle, and quits when Vorlane, having started, sends
// "killLauncher" with its bundle identifier. While it runs it owns the bus name
// "com.ostrel.VorlaneHelper", by which Vorlane knows it was started at login.
class AppDelegate : public QObject
{
    Q_OBJECT

public:
    static const QString killLauncherName;
    static const QString mainBundleIdentifier;
    static const QString launcherIdentifier;
    // Path components from the launcher's bundle up to Vorlane's: VorlaneHelper.app,
    // LoginItems, Library and Contents.
    static constexpr int componentsToMainBundle = 4;

    explicit AppDelegate(QObject* parent = nullptr);

    void applicationDidFinishLaunching();
    void applicationWillTerminate();

    // The bundle that holds the running executable (its Contents/MacOS folder's bundle), or the
    // executable's folder outside a bundle.
    static QString ownBundlePath();
    static QString mainBundlePath(const QString& ownBundle);

public Q_SLOTS:
    void terminate();

private Q_SLOTS:
    void killLauncherReceived(const QString& object);

private:
    void observeKillLauncher();
};
