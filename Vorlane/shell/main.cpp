// Vorlane: the documents you opened recently, by the application that opened them.
#include "AppDelegate.h"
#include "ImageNamed.h"
#include "SingleInstance.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char** argv)
{
    // Qt takes the startup identifier out of the environment when it connects to the display,
    // and may take the Wayland activation token when a window asks for the focus.
    const QString startupId = qEnvironmentVariable("DESKTOP_STARTUP_ID");
    const QString activationToken = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
    QApplication::setApplicationName(QStringLiteral("Vorlane"));
    QApplication::setOrganizationName(QStringLiteral("ostrel"));
    QApplication::setApplicationVersion(QStringLiteral(VORLANE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("com.ostrel.Vorlane"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    application.setWindowIcon(imageNamed(QStringLiteral("Vorlane")));

    const SingleInstance::Request request = SingleInstance::requestFrom(QApplication::arguments());
    SingleInstance instance;
    if (!instance.claim())
        return SingleInstance::handOver(request, startupId, activationToken) ? 0 : 1;

    AppDelegate delegate;
    delegate.listenTo(&instance);
    delegate.applicationWillFinishLaunching();
    delegate.applicationDidFinishLaunching();
    delegate.applyStartRequest(request);
    return QApplication::exec();
}
