#pragma once

// Work the user is not waiting for gives way to the window's thread. On two cores, a start or a
// refresh keeps three or more threads busy at once (the window's, the reading of the sources, the
// search's words, the thumbnails); at equal priority the scheduler takes the window's thread off
// its core for whole time slices, 4 ms each, while a frame waits.
class ThreadPriority
{
public:
    // The calling thread, and what it starts from now on, run at a lower priority (a nice value
    // this much higher) for the rest of the thread's life: a thread may lower its own priority
    // but not raise it again. Later calls change nothing. Returns whether the thread runs lowered.
    static bool lowerThisThread();

    static constexpr int niceSteps = 10;
};
