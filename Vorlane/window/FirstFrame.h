#pragma once

#include <QObject>

#include <functional>

// Work the main window's first frame does not need waits for that frame: from the window's first
// show until the frame is painted (or the window hidden before it, or a second gone by), after()
// keeps the work and runs it then, in the order given. At any other time after() runs it at once.
// Main thread only.
class FirstFrame
{
public:
    // Runs work now, or right after the first frame; not at all when context has gone by then.
    static void after(QObject* context, std::function<void()> work);

    // The main window's part: shown for the first time, and painted (or hidden) since.
    static void begin();
    static void end();
};
