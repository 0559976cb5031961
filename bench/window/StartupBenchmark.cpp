// Start to first painted window: Vorlane started as a program on a home with 50 applications,
// timed from just before it is started to the line it logs after painting its first frame.
// Runs under an X server (scripts/session.sh bench/...): bench_window_startup [runs]
#include "BenchmarkHome.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>

namespace {
double startOnce(const QProcessEnvironment& environment)
{
    QProcess vorlane;
    vorlane.setProcessEnvironment(environment);
    vorlane.setProcessChannelMode(QProcess::SeparateChannels);
    // The log line comes on standard error; waiting on standard output would only wake every
    // 50 ms and round every start up to the next step.
    vorlane.setReadChannel(QProcess::StandardError);
    QElapsedTimer timer;
    timer.start();
    vorlane.start(QStringLiteral(VORLANE_EXECUTABLE), {});
    double elapsed = -1;
    QByteArray seen;
    while (timer.elapsed() < 60000 && elapsed < 0) {
        vorlane.waitForReadyRead(50);
        seen += vorlane.readAllStandardError();
        if (seen.contains("window painted"))
            elapsed = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    }
    vorlane.terminate();
    if (!vorlane.waitForFinished(10000))
        vorlane.kill();
    return elapsed;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("needs an X display (run it through scripts/session.sh)\n");
        return 77;
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    BenchmarkHome home(50, 4);
    QProcessEnvironment environment = home.environment();
    environment.insert(QStringLiteral("QT_LOGGING_RULES"),
                       QStringLiteral("vorlane.startup.debug=true"));
    QList<double> times;
    for (int run = 0; run < runs; ++run) {
        // A fresh bus name each time: the previous run has gone.
        const double ms = startOnce(environment);
        if (ms < 0) {
            std::printf("run %d: no first paint within 60 s\n", run + 1);
            return 1;
        }
        times << ms;
        std::printf("run %2d: %.1f ms\n", run + 1, ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("start to first painted window, 50 applications: median %.1f ms, min %.1f ms, "
                "max %.1f ms (%d runs)\n",
                times.at(times.size() / 2), times.constFirst(), times.constLast(), runs);
    return 0;
}
