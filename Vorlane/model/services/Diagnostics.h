#pragma once

#include <QString>

#include <functional>

// The program's one-line messages ("Couldn't read file", "Error: ...", ...). They go to standard
// output unless a tool or a test redirects them.
class Diagnostics
{
public:
    using Sink = std::function<void(const QString& line)>;

    static void write(const QString& line);
    // Replaces where lines go; returns the previous sink. An empty sink restores standard output.
    static Sink setSink(Sink sink);
    static Sink standardError();
};
