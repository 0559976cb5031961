#pragma once

#include "FileChange.h"

#include <QUrl>

#include <chrono>
#include <optional>
#include <vector>

// Gathers the writes to a file that its writer keeps open into bursts, so that a record being
// written in many pieces is reported once rather than once per piece. A burst is reported when
// its writer has paused for `quiet`, or when it has gone on for `longest` (a writer that never
// pauses is still seen). A finished change of the file (its close after writing, its removal)
// is reported at once and ends the file's burst: the file is read again anyway.
// Not thread-safe; the monitor's reader thread owns it.
class WriteBursts
{
public:
    using Clock = std::chrono::steady_clock;

    struct Timing
    {
        Clock::duration quiet = std::chrono::milliseconds(100);
        Clock::duration longest = std::chrono::seconds(1);
    };

    WriteBursts();
    explicit WriteBursts(Timing timing);

    // Takes one batch of changes, in event order; answers the files to report now.
    std::vector<QUrl> take(const std::vector<FileChange>& changes, Clock::time_point now);
    // The files whose bursts are over at `now`, in the order they began; they are forgotten.
    std::vector<QUrl> due(Clock::time_point now);
    // When the next burst will be over; none while no file is being written.
    std::optional<Clock::time_point> nextDue() const;
    bool isEmpty() const { return m_bursts.empty(); }

private:
    struct Burst
    {
        QUrl url;
        Clock::time_point first;
        Clock::time_point last;
    };

    Clock::time_point endOf(const Burst& burst) const;
    void write(const QUrl& url, Clock::time_point now);
    void end(const QUrl& url);

    Timing m_timing;
    // A handful at most: files being written at the same moment.
    std::vector<Burst> m_bursts;
};
