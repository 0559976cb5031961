// Vorlane: the documents you opened recently, by the application that opened them.
#include "AppDelegate.h"
#include "CommandLineOptions.h"
#include "DockMenu.h"
#include "FileIconCache.h"
#include "ImageNamed.h"
#include "SingleInstance.h"
#include "Translations.h"
#include "VorlaneController.h"
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

int print(const QString& text, std::FILE* stream = stdout)
{
    std::fputs(qPrintable(text), stream);
    return std::fflush(stream) == 0 ? 0 : 1;
}

// What a shell's usage error returns.
constexpr int usageError = 2;

// Without a display and without a platform named, Qt could only abort.
bool hasWindowSystem(const CommandLineOptions& options)
{
    return options.namesPlatform || qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

const char* const noDesktopText =
    "Vorlane needs a desktop session: there is no X11 or Wayland display to show its window on\n"
    "(neither DISPLAY nor WAYLAND_DISPLAY is set). To try it without a desktop, give it a\n"
    "virtual X server (Debian package xvfb):\n"
    "    xvfb-run -a vorlane\n";

} // namespace

int main(int argc, char** argv)
{
    // Help, version and mistakes need no display: they are answered before Qt connects to one,
    // and never start or summon Vorlane.
    const CommandLineOptions options = CommandLineOptions::parse(commandLine(argc, argv));
    if (!options.unknownArgument.isEmpty()) {
        print(options.unknownArgumentText(), stderr);
        return usageError;
    }
    if (options.showHelp)
        return print(CommandLineOptions::helpText());
    if (options.showVersion)
        return print(CommandLineOptions::versionText());
    if (!hasWindowSystem(options)) {
        print(QString::fromLatin1(noDesktopText), stderr);
        return 1;
    }

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
    // A later start only hands its request over: it needs nothing else.
    SingleInstance instance;
    if (!instance.claim())
        return SingleInstance::handOver(options.request, startupId, activationToken) ? 0 : 1;

    // The first icons need Qt's image plug-ins: they load on a second core while the window is
    // made.
    FileIconCache::loadImagePlugInsInBackground();
    Translations::install();
    // The sources are read on a worker thread while the window is made; it waits for the list
    // only if that is not done when it is first shown.
    VorlaneController::buildSharedInBackground();
    application.setQuitOnLastWindowClosed(false);
    application.setWindowIcon(imageNamed(QStringLiteral("Vorlane")));
    AppDelegate delegate;
    delegate.listenTo(&instance);
    delegate.applicationWillFinishLaunching();
    delegate.applicationDidFinishLaunching();
    delegate.applyStartRequest(options.request);
    return QApplication::exec();
}
