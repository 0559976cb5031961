#include "FileMonitor.h"

#include "FileMonitorError.h"
#include "InotifyCalls.h"
#include "InotifyReader.h"
#include "RecordLocations.h"

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
} // namespace

FileMonitor::FileMonitor()
    : FileMonitor(std::make_shared<InotifyCalls>())
{}

FileMonitor::FileMonitor(std::shared_ptr<InotifyCalls> calls, WriteBursts::Timing timing)
    : m_urlToMonitor(recordFolderPath())
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
    m_urlToMonitor = normalisedPath(recordFolderPath());
    const WatchedFolders::Targets targets{m_urlToMonitor, recordFileSuffix(),
                                          normalisedPath(recentlyUsedFilePath())};
    auto monitor = std::make_unique<InotifyReader>(m_calls, targets, std::move(handler), m_timing);
    monitor->start();
    m_monitor = std::move(monitor);
}

void FileMonitor::stop()
{
    m_monitor.reset();
}
