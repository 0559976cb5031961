#pragma once

#include "SingleInstance.h"

#include <QString>
#include <QStringList>

// What vorlane was asked on its command line: print its help or its version, or start (or ask
// the running instance) with one of the window requests. Anything else, Qt's own options among
// it (-platform, -display), is left to Qt.
struct CommandLineOptions
{
    bool showHelp = false;
    bool showVersion = false;
    SingleInstance::Request request = SingleInstance::Request::reopen;

    // arguments: the whole command line, the program first.
    static CommandLineOptions parse(const QStringList& arguments);
    static QString helpText();
    // "Vorlane 0.1.0 (1)": the short version and the build number.
    static QString versionText();
};
