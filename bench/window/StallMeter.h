#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QTimer>

// How long the event loop goes without running, measured by a 1 ms timer for as long as the
// meter lives: every gap between two ticks is kept.
class StallMeter
{
public:
    StallMeter();

    double longest() const { return m_longest; }
    // When the longest gap ended, in milliseconds since the meter started.
    double longestEndedAt() const { return m_longestEndedAt; }
    // The gap between ticks that only one in a hundred exceeds.
    double percentile99() const;

    static double median(QList<double> values);

private:
    void tick();

    QTimer m_ticker;
    QElapsedTimer m_sinceTick;
    QElapsedTimer m_sinceStart;
    double m_longest = 0;
    double m_longestEndedAt = 0;
    QList<double> m_gaps;
};
