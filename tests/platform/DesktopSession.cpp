#include "DesktopSession.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QRect>
#include <QThread>
#include <QWidget>

namespace DesktopSession {

bool waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return true;
}

QString run(const QString& program, const QStringList& arguments, int timeoutMs)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

namespace {
bool windowManagerAnnounced()
{
    return run(QStringLiteral("xprop"),
               {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
        .contains(QStringLiteral("window id"));
}
} // namespace

WindowManager::WindowManager(const QString& name)
    : m_process(std::make_unique<QProcess>())
{
    QStringList arguments{QStringLiteral("--replace"), QStringLiteral("--sm-disable")};
    if (name == u"metacity")
        arguments << QStringLiteral("--compositor=none");
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->start(name, arguments);
    m_running = m_process->waitForStarted(10000) && waitUntil([this] {
                    return m_process->state() == QProcess::Running && windowManagerAnnounced();
                }) &&
                focusesNewWindows();
}

bool WindowManager::focusesNewWindows()
{
    // The manager announces itself before its start is over, and may take the focus back to
    // the root window at its end: a probe window that keeps the focus says it is done.
    QWidget probe;
    probe.setWindowTitle(QStringLiteral("Window manager probe"));
    probe.setGeometry(0, 0, 50, 50);
    probe.show();
    const quint64 id = probe.winId();
    return waitUntil([id] {
        if (focusedWindow() != id)
            QProcess::execute(QStringLiteral("xdotool"),
                              {QStringLiteral("windowactivate"), QString::number(id)});
        return focusedWindow() == id;
    });
}

WindowManager::~WindowManager()
{
    m_process->terminate();
    if (!m_process->waitForFinished(10000))
        m_process->kill();
    m_process->waitForFinished(5000);
}

PrivateBus::PrivateBus()
    : m_process(std::make_unique<QProcess>())
{
    m_process->start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--nofork"),
                      QStringLiteral("--print-address=1")});
    if (!m_process->waitForStarted(10000))
        return;
    waitUntil([this] { return m_process->canReadLine(); }, 10000);
    m_address = QString::fromUtf8(m_process->readLine()).trimmed();
}

PrivateBus::~PrivateBus()
{
    m_process->terminate();
    if (!m_process->waitForFinished(10000))
        m_process->kill();
    m_process->waitForFinished(5000);
}

quint64 visibleWindow(const QString& title)
{
    const QString found =
        run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                        QStringLiteral("--name"), u'^' + title + u'$'});
    return found.section(u'\n', 0, 0).toULongLong();
}

quint64 focusedWindow()
{
    return run(QStringLiteral("xdotool"), {QStringLiteral("getwindowfocus")}).toULongLong();
}

QRect windowGeometry(quint64 window)
{
    const QString shell =
        run(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"),
                                        QStringLiteral("--shell"), QString::number(window)});
    int values[4] = {};
    const QStringList keys{QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("WIDTH"),
                           QStringLiteral("HEIGHT")};
    for (const QString& line : shell.split(u'\n')) {
        const int index = keys.indexOf(line.section(u'=', 0, 0));
        if (index >= 0)
            values[index] = line.section(u'=', 1).toInt();
    }
    return {values[0], values[1], values[2], values[3]};
}

bool pressKeys(const QString& keys)
{
    return QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), keys}) == 0;
}

} // namespace DesktopSession
