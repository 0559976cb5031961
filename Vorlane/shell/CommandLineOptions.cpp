#include "CommandLineOptions.h"

#include "VorlaneVersion.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {
const std::array<std::pair<QStringView, SingleInstance::Request>, 3> windowRequests{{
    {u"--toggle", SingleInstance::Request::toggle},
    {u"--center-window", SingleInstance::Request::centerWindow},
    {u"--reset-window-size", SingleInstance::Request::resetWindowSize},
}};

// The options QGuiApplication, QApplication and the X11 platform take, without their dash;
// Qt reads them with one dash or two.
const std::array<QStringView, 16> qtOptionsWithValue{u"platform",
                                                     u"platformpluginpath",
                                                     u"platformtheme",
                                                     u"plugin",
                                                     u"qwindowgeometry",
                                                     u"geometry",
                                                     u"qwindowicon",
                                                     u"icon",
                                                     u"qwindowtitle",
                                                     u"title",
                                                     u"session",
                                                     u"display",
                                                     u"name",
                                                     u"visual",
                                                     u"style",
                                                     u"stylesheet"};
const std::array<QStringView, 6> qtFlags{u"reverse", u"testability", u"widgetcount",
                                         u"dograb",  u"nograb",      u"sync"};
const std::array<QStringView, 3> qtOptionsWithJoinedValue{u"style=", u"stylesheet=",
                                                          u"qmljsdebugger="};

template <std::size_t N>
bool contains(const std::array<QStringView, N>& names, QStringView name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The option's name without its one or two leading dashes; empty for anything else.
QStringView qtOptionName(QStringView argument)
{
    if (argument.startsWith(u"--"))
        return argument.mid(2);
    if (argument.startsWith(u'-'))
        return argument.mid(1);
    return {};
}

// How many arguments a Qt option at the front of rest takes up; 0 when it is none of Qt's.
qsizetype qtOptionLength(const QStringList& rest, qsizetype at)
{
    const QStringView name = qtOptionName(rest.at(at));
    if (name.isEmpty())
        return 0;
    if (contains(qtOptionsWithValue, name))
        return at + 1 < rest.size() ? 2 : 1;
    if (contains(qtFlags, name))
        return 1;
    const bool joined =
        std::any_of(qtOptionsWithJoinedValue.begin(), qtOptionsWithJoinedValue.end(),
                    [name](QStringView prefix) { return name.startsWith(prefix); });
    return joined ? 1 : 0;
}
} // namespace

CommandLineOptions CommandLineOptions::parse(const QStringList& arguments)
{
    CommandLineOptions options;
    bool requested = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == u"--help" || argument == u"-h") {
            options.showHelp = true;
            continue;
        }
        if (argument == u"--version" || argument == u"-v") {
            options.showVersion = true;
            continue;
        }
        const auto named = std::find_if(windowRequests.begin(), windowRequests.end(),
                                        [&](const auto& entry) { return argument == entry.first; });
        if (named != windowRequests.end()) {
            // The first request named counts.
            if (!std::exchange(requested, true))
                options.request = named->second;
            continue;
        }
        if (const qsizetype length = qtOptionLength(arguments, i); length > 0) {
            options.namesPlatform = options.namesPlatform || qtOptionName(argument) == u"platform";
            i += length - 1;
            continue;
        }
        if (options.unknownArgument.isEmpty())
            options.unknownArgument = argument;
    }
    return options;
}

QString CommandLineOptions::unknownArgumentText() const
{
    const QString what = unknownArgument.startsWith(u'-') ? QStringLiteral("unknown option")
                                                          : QStringLiteral("unexpected argument");
    return QStringLiteral("vorlane: %1 '%2'\nTry 'vorlane --help' for the options.\n")
        .arg(what, unknownArgument);
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
