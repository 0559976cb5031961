#pragma once

#include <QString>

#include <functional>

// The program's one-line messages ("Couldn't read file", "Error: ...", ...). They go to standard
// output unless a tool or a test redirects them.
class Diagnostics
{
public:
    using Sink = std::function<void(const QString& line)>;

    // Names the file that the lines written on this thread concern, while it lives.
    class About
    {
    public:
        explicit About(const QString& file);
        ~About();
        About(const About&) = delete;
        About& operator=(const About&) = delete;

    private:
        QString m_previous;
    };

    static void write(const QString& line);
    // Replaces where lines go; returns the previous sink. An empty sink restores standard output.
    static Sink setSink(Sink sink);
    static Sink standardError();
    // Whether lines start with the file they concern ("<file>: Couldn't read file"), as a tool
    // shows them; the window's lines stay as they are (off at start).
    static void setNamesFiles(bool names);
};
