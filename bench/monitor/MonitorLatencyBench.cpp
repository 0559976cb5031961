// Latency from a record file's rename to the file monitor's handler call, measured with the
// handler's own clock reading, so waking the benchmark thread is not counted. Reported per run:
// median, p90 and p99 in microseconds, and the number of samples. The "busy" variant keeps
// every core spinning, as a loaded desktop would.

#include "FileMonitor.h"
#include "RecordLocations.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

// The handler's side: when the last call came, and how many there were.
class CallClock
{
public:
    void called()
    {
        const auto now = Clock::now();
        {
            const std::lock_guard lock(m_mutex);
            m_last = now;
            ++m_calls;
        }
        m_changed.notify_all();
    }

    int calls()
    {
        const std::lock_guard lock(m_mutex);
        return m_calls;
    }

    // The time of the call after `seen` calls, or nothing after ten seconds.
    std::optional<Clock::time_point> waitPast(int seen)
    {
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait_for(lock, std::chrono::seconds(10), [&] { return m_calls > seen; }))
            return std::nullopt;
        return m_last;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    Clock::time_point m_last;
    int m_calls = 0;
};

// Keeps every core busy until it goes out of scope.
class BusyCores
{
public:
    explicit BusyCores(bool enabled)
    {
        const unsigned cores = enabled ? std::max(1u, std::thread::hardware_concurrency()) : 0;
        for (unsigned i = 0; i < cores; ++i) {
            m_threads.emplace_back([this] {
                std::uint64_t spin = 0;
                while (m_running.load(std::memory_order_relaxed))
                    benchmark::DoNotOptimize(++spin);
            });
        }
    }
    ~BusyCores()
    {
        m_running = false;
        for (std::thread& thread : m_threads)
            thread.join();
    }
    BusyCores(const BusyCores&) = delete;
    BusyCores& operator=(const BusyCores&) = delete;

private:
    std::atomic<bool> m_running = true;
    std::vector<std::thread> m_threads;
};

bool writeFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write("record") == 6;
}

double percentile(std::vector<double> samples, double fraction)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(samples.size() - 1));
    return samples[index];
}

void BM_RecordRenameToHandler(benchmark::State& state)
{
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + QStringLiteral("/.local/share")));
    const QString folder = recordFolderPath();
    QDir().mkpath(folder);
    const QByteArray temporary = QFile::encodeName(folder + QStringLiteral("/Evince.sfl3.tmp"));
    const QByteArray target = QFile::encodeName(folder + QStringLiteral("/org.gnome.Evince.sfl3"));

    CallClock clock;
    FileMonitor monitor;
    monitor.start(QUrl::fromLocalFile(folder), [&clock](const QUrl&) { clock.called(); });
    const BusyCores busy(state.range(0) != 0);

    std::vector<double> micros;
    for (auto _ : state) {
        if (!writeFile(QFile::decodeName(temporary))) {
            state.SkipWithError("cannot write the temporary record");
            break;
        }
        const int seen = clock.calls();
        const auto renamed = Clock::now();
        std::rename(temporary.constData(), target.constData());
        const auto called = clock.waitPast(seen);
        if (!called) {
            state.SkipWithError("the handler was not called within ten seconds");
            break;
        }
        const std::chrono::duration<double> latency = *called - renamed;
        state.SetIterationTime(latency.count());
        micros.push_back(latency.count() * 1e6);
    }
    state.counters["median_us"] = percentile(micros, 0.5);
    state.counters["p90_us"] = percentile(micros, 0.9);
    state.counters["p99_us"] = percentile(micros, 0.99);
    state.counters["samples"] = static_cast<double>(micros.size());
}
} // namespace

BENCHMARK(BM_RecordRenameToHandler)
    ->ArgName("busy")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(2000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
