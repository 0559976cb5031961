#pragma once

#include <QString>

#include <functional>

// The fixed lines about the login item and the launcher ("-- VORLANE: Enable start at login",
// ...), written where a system log would get them: standard error, or a sink a test installs.
class SystemLog
{
public:
    using Sink = std::function<void(const QString& line)>;

    static void write(const QString& line);
    // Replaces where lines go, returning the previous sink; an empty sink is standard error.
    static Sink setSink(Sink sink);
};
