#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QTimer>

// How long the event loop goes without running, measured by a 1 ms timer for as long as the
// meter lives: every gap between two ticks is kept, and the CPU time the loop's thread used in
// each (on a loaded machine a gap can be long while the thread only waited for a core).
class StallMeter
{
public:
    StallMeter();

    double longest() const { return m_longest; }
    // When the longest gap ended, in milliseconds since the meter started.
    double longestEndedAt() const { return m_longestEndedAt; }
    // The most CPU time the thread used between two ticks: the stall it would cause on a core of
    // its own.
    double longestBusy() const { return m_longestBusy; }
    // The gap between ticks that only one in a hundred exceeds.
    double percentile99() const;

    static double median(QList<double> values);

private:
    void tick();

    QTimer m_ticker;
    QElapsedTimer m_sinceTick;
    QElapsedTimer m_sinceStart;
    double m_cpuAtTick = 0;
    double m_longestBusy = 0;
    double m_longest = 0;
    double m_longestEndedAt = 0;
    QList<double> m_gaps;
};
