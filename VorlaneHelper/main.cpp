// VorlaneHelper: started when the user logs in, it starts Vorlane and quits when Vorlane says so.
#include "AppDelegate.h"
#include "TerminationSignals.h"

#include <QCoreApplication>
#include <QTimer>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("VorlaneHelper"));
    QCoreApplication::setOrganizationName(QStringLiteral("ostrel"));

    // Logging out ends the helper as quitting does, with its last line.
    const TerminationSignals terminationSignals;
    AppDelegate delegate;
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &delegate,
                     &AppDelegate::applicationWillTerminate);
    QTimer::singleShot(0, &delegate, &AppDelegate::applicationDidFinishLaunching);
    return QCoreApplication::exec();
}
