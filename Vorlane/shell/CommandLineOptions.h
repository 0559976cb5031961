#pragma once

#include "SingleInstance.h"

#include <QString>
#include <QStringList>

// What vorlane was asked on its command line: print its help or its version, or start (or ask
// the running instance) with one of the window requests. Qt's own options (-platform xcb,
// -display :1, a session manager's -session) are left to Qt; anything else is a mistake that
// vorlane answers before it starts or summons anything.
struct CommandLineOptions
{
    bool showHelp = false;
    bool showVersion = false;
    SingleInstance::Request request = SingleInstance::Request::reopen;
    // The first argument that is neither vorlane's nor Qt's; empty when there is none.
    QString unknownArgument;
    // Whether Qt's -platform option names the window system to use.
    bool namesPlatform = false;

    // arguments: the whole command line, the program first.
    static CommandLineOptions parse(const QStringList& arguments);
    static QString helpText();
    // "Vorlane 0.1.0 (1)": the short version and the build number.
    static QString versionText();
    // The complaint about unknownArgument, for standard error.
    QString unknownArgumentText() const;
};
