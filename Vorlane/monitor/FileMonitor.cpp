#include "FileMonitor.h"

#include "FileMonitorError.h"
#include "InotifyCalls.h"
#include "InotifyReader.h"
#include "RecentSources.h"

#include <QDir>
#include <QFileInfo>
#include <QUuid>

namespace {
// Absolute, without "." or ".." components, doubled or trailing slashes: the form event paths
// are built from and compared with.
QString normalisedPath(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QList<WatchedPath> normalisedPaths(QList<WatchedPath> paths)
{
    for (WatchedPath& watched : paths)
        watched.path = normalisedPath(watched.path);
    return paths;
}

QString firstPathOf(const QList<WatchedPath>& paths)
{
    return paths.isEmpty() ? QString() : paths.constFirst().path;
}
} // namespace

FileMonitor::FileMonitor()
    : FileMonitor(std::make_shared<InotifyCalls>())
{}

FileMonitor::FileMonitor(std::shared_ptr<InotifyCalls> calls, WriteBursts::Timing timing)
    : m_urlToMonitor(firstPathOf(RecentSources().watchedPaths()))
    , m_queueLabel(QStringLiteral("Vorlane.FileMonitor-") +
                   QUuid::createUuid().toString(QUuid::WithoutBraces))
    , m_calls(std::move(calls))
    , m_timing(timing)
{}

FileMonitor::~FileMonitor() = default;

void FileMonitor::start(const QUrl& url, Handler handler)
{
    Q_UNUSED(url)
    if (!handler)
        throw FileMonitorError(QStringLiteral("The file monitor needs a handler"));
    if (m_monitor && m_monitor->isReaderThread())
        throw FileMonitorError(QStringLiteral("The file monitor cannot restart from its handler"));
    stop();
    m_watchedPaths = normalisedPaths(RecentSources().watchedPaths());
    m_urlToMonitor = firstPathOf(m_watchedPaths);
    auto monitor =
        std::make_unique<InotifyReader>(m_calls, m_watchedPaths, std::move(handler), m_timing);
    monitor->start();
    m_monitor = std::move(monitor);
}

void FileMonitor::stop()
{
    m_monitor.reset();
}
