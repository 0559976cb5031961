#pragma once

#include <QString>

// Starting an application bundle, as the workspace launches an application's URL: the
// executable that the bundle's Contents/Info.plist names (CFBundleExecutable; else the bundle's
// own name) in Contents/MacOS, started on its own outside this process, without arguments. An
// application that keeps one instance per session passes such a start on to its running
// instance as a re-open request.
class BundleLauncher
{
public:
    // Empty when the application started; otherwise what went wrong, for a person to read.
    static QString launch(const QString& bundlePath);

    static QString executablePath(const QString& bundlePath);

private:
    static QString executableName(const QString& bundlePath);
};
