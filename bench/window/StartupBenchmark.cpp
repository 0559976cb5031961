// Start to first painted window: Vorlane started as a program on the rebuild benchmark's home
// (50 records of 20 documents and a shared file of 2,000 bookmarks over 30 more applications: 80
// applications), timed from just before it is started to the line it logs after painting its
// first frame; with the CPU time its threads had used by then, all of them and the window's. Each
// round starts it once as on a first start and once as on a later one.
// Runs under an X server (scripts/session.sh bench/...), which a client of its own keeps from
// resetting between two starts:
//   bench_window_startup [runs] [another Vorlane executable, timed in the same rounds]
#include "BenchmarkHome.h"
#include "RebuildHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {
struct Start
{
    double wallMs = -1;
    double cpuMs = 0;
    double windowThreadCpuMs = 0;
};

// Nanoseconds a thread has run, the first field of its schedstat.
double runMs(const QString& schedstat)
{
    QFile file(schedstat);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return file.readAll().split(' ').constFirst().toDouble() / 1e6;
}

void takeCpuTimes(qint64 pid, Start& start)
{
    const QString process = QStringLiteral("/proc/%1").arg(pid);
    start.windowThreadCpuMs = runMs(process + QStringLiteral("/schedstat"));
    const QStringList threads =
        QDir(process + QStringLiteral("/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& thread : threads)
        start.cpuMs +=
            runMs(process + QStringLiteral("/task/") + thread + QStringLiteral("/schedstat"));
}

Start startOnce(const QString& executable, const QProcessEnvironment& environment)
{
    QProcess vorlane;
    vorlane.setProcessEnvironment(environment);
    vorlane.setProcessChannelMode(QProcess::SeparateChannels);
    // The log line comes on standard error; waiting on standard output would only wake every
    // 50 ms and round every start up to the next step.
    vorlane.setReadChannel(QProcess::StandardError);
    QElapsedTimer timer;
    timer.start();
    vorlane.start(executable, {});
    Start start;
    QByteArray seen;
    while (timer.elapsed() < 60000 && start.wallMs < 0) {
        vorlane.waitForReadyRead(50);
        seen += vorlane.readAllStandardError();
        if (seen.contains("window painted")) {
            start.wallMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
            takeCpuTimes(vorlane.processId(), start);
        }
    }
    vorlane.terminate();
    if (!vorlane.waitForFinished(10000))
        vorlane.kill();
    return start;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

QByteArray loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll().split(' ').constFirst() : "?";
}

// A first start greets the user with the welcome window; a later one, after the welcome was
// completed, shows only the main window.
enum class Kind
{
    first,
    later
};

void prepareSettings(const TestHome& home, Kind kind)
{
    const QString settings = home.path() + QStringLiteral("/.config/ostrel/Vorlane.conf");
    if (kind == Kind::first) {
        QFile::remove(settings);
        return;
    }
    QSettings stored(settings, QSettings::NativeFormat);
    stored.setValue(QStringLiteral("OnboardingCompleted"), true);
    stored.setValue(QStringLiteral("AutoHideWindow"), false);
}

struct Series
{
    QString executable;
    Kind kind;
    QList<double> walls, cpus, windowThreadCpus;

    void print() const
    {
        QList<double> sorted = walls;
        std::sort(sorted.begin(), sorted.end());
        std::printf("%s, %s\n  start to first painted window, 80 applications: median %.1f ms "
                    "(min %.1f, max %.1f; %lld runs); CPU by then: median %.1f ms, %.1f ms of it "
                    "on the window's thread\n",
                    qPrintable(executable), kind == Kind::first ? "first start" : "later start",
                    median(walls), sorted.constFirst(), sorted.constLast(),
                    static_cast<long long>(walls.size()), median(cpus), median(windowThreadCpus));
    }
};

// A desktop's X server always has other clients (the window manager, the panel), so it never
// resets between two starts. Xvfb alone resets whenever its last client leaves, and the next
// start would wait while it sets itself up again (its keyboard map compiled anew). A client that
// stays for the whole run keeps the server as a desktop's is.
class StayingClient
{
public:
    bool start()
    {
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.start(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("-spy"),
                                                  QStringLiteral("_NET_ACTIVE_WINDOW")});
        return m_process.waitForStarted();
    }

    ~StayingClient()
    {
        m_process.terminate();
        m_process.waitForFinished();
    }

private:
    QProcess m_process;
};
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("needs an X display (run it through scripts/session.sh)\n");
        return 77;
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    QStringList executables{QStringLiteral(VORLANE_EXECUTABLE)};
    if (argc > 2)
        executables << QString::fromLocal8Bit(argv[2]);
    QList<Series> series;
    for (const Kind kind : {Kind::first, Kind::later}) {
        for (const QString& executable : executables)
            series.append({executable, kind, {}, {}, {}});
    }
    BenchmarkHome home(0, 0);
    RebuildHome::populate(home.home(), true, QDateTime::currentDateTime());
    QProcessEnvironment environment = home.environment();
    environment.insert(QStringLiteral("QT_LOGGING_RULES"),
                       QStringLiteral("vorlane.startup.debug=true"));
    StayingClient stayingClient;
    if (!stayingClient.start()) {
        std::printf("needs xprop (Debian package x11-utils)\n");
        return 1;
    }
    // Once untimed: the session's services (the portal) start with the first program that asks.
    startOnce(executables.constFirst(), environment);
    std::printf("load average %s at the start\n", loadAverage().constData());
    for (int run = 0; run < runs; ++run) {
        // A fresh bus name each time: the previous run has gone.
        for (Series& one : series) {
            prepareSettings(home.home(), one.kind);
            const Start start = startOnce(one.executable, environment);
            if (start.wallMs < 0) {
                std::printf("run %d: no first paint within 60 s\n", run + 1);
                return 1;
            }
            one.walls << start.wallMs;
            one.cpus << start.cpuMs;
            one.windowThreadCpus << start.windowThreadCpuMs;
            std::printf("run %2d: %.1f ms, CPU %.1f ms (window's thread %.1f ms)  %s %s\n", run + 1,
                        start.wallMs, start.cpuMs, start.windowThreadCpuMs,
                        one.kind == Kind::first ? "first" : "later", qPrintable(one.executable));
        }
    }
    std::printf("load average %s at the end\n", loadAverage().constData());
    for (const Series& one : series)
        one.print();
    return 0;
}
