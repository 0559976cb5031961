#include "CommandLineOptions.h"

#include "VorlaneVersion.h"

#include <array>
#include <utility>

namespace {
const std::array<std::pair<QStringView, SingleInstance::Request>, 3> windowRequests{{
    {u"--toggle", SingleInstance::Request::toggle},
    {u"--center-window", SingleInstance::Request::centerWindow},
    {u"--reset-window-size", SingleInstance::Request::resetWindowSize},
}};
} // namespace

CommandLineOptions CommandLineOptions::parse(const QStringList& arguments)
{
    CommandLineOptions options;
    bool requested = false;
    for (const QString& argument : arguments.mid(1)) {
        if (argument == u"--help" || argument == u"-h")
            options.showHelp = true;
        else if (argument == u"--version" || argument == u"-v")
            options.showVersion = true;
        for (const auto& [name, request] : windowRequests) {
            // The first request named counts.
            if (argument == name && !std::exchange(requested, true))
                options.request = request;
        }
    }
    return options;
}

QString CommandLineOptions::helpText()
{
    return QStringLiteral(
        "Usage: vorlane [OPTION]\n"
        "Shows the documents you opened recently, grouped by the application that opened them.\n"
        "Starting vorlane while it runs brings the running one forward.\n"
        "\n"
        "Options:\n"
        "  --toggle             show the window, or hide it when it has the keyboard focus\n"
        "                       (what the global shortcut does; bind it to a key where the\n"
        "                       desktop keeps shortcuts to itself)\n"
        "  --center-window      show the window in the middle of the main display\n"
        "  --reset-window-size  show the window in the middle of the main display at its\n"
        "                       default size, 780 x 440\n"
        "  -h, --help           print this help and exit\n"
        "  -v, --version        print the version and exit\n"
        "\n"
        "Qt's own options work too, such as -platform xcb or -display :1.\n");
}

QString CommandLineOptions::versionText()
{
    return QStringLiteral("Vorlane " VORLANE_VERSION " (" VORLANE_BUILD_NUMBER ")\n");
}
