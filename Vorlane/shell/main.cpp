// Vorlane: the documents you opened recently, by the application that opened them.
#include "AppDelegate.h"
#include "CommandLineOptions.h"
#include "DockMenu.h"
#include "ImageNamed.h"
#include "SingleInstance.h"
#include "VorlaneVersion.h"

#include <QApplication>
#include <QStyleFactory>

#include <cstdio>

namespace {
QStringList commandLine(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int print(const QString& text)
{
    std::fputs(qPrintable(text), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    // Help and version need no display: they are answered before Qt connects to one.
    const CommandLineOptions options = CommandLineOptions::parse(commandLine(argc, argv));
    if (options.showHelp)
        return print(CommandLineOptions::helpText());
    if (options.showVersion)
        return print(CommandLineOptions::versionText());

    // Qt takes the startup identifier out of the environment when it connects to the display,
    // and may take the Wayland activation token when a window asks for the focus.
    const QString startupId = qEnvironmentVariable("DESKTOP_STARTUP_ID");
    const QString activationToken = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
    QApplication::setApplicationName(QStringLiteral("Vorlane"));
    QApplication::setOrganizationName(QStringLiteral("ostrel"));
    // "0.1.0.1": the short version and the build number, as About shows them.
    QApplication::setApplicationVersion(QStringLiteral(VORLANE_VERSION "." VORLANE_BUILD_NUMBER));
    QApplication::setDesktopFileName(QStringLiteral("com.ostrel.Vorlane"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    application.setWindowIcon(imageNamed(QStringLiteral("Vorlane")));

    SingleInstance instance;
    if (!instance.claim())
        return SingleInstance::handOver(options.request, startupId, activationToken) ? 0 : 1;

    AppDelegate delegate;
    delegate.listenTo(&instance);
    delegate.applicationWillFinishLaunching();
    delegate.applicationDidFinishLaunching();
    delegate.applyStartRequest(options.request);
    return QApplication::exec();
}
