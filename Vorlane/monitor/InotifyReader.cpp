#include "InotifyReader.h"

#include "Diagnostics.h"
#include "FileMonitorError.h"
#include "InotifyCalls.h"

#include <QtGlobal>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>

namespace {
// Enough for hundreds of events per read; the kernel never splits an event across reads.
constexpr std::size_t bufferSize = 64 * 1024;

void writeError(const QString& text)
{
    Diagnostics::write(QStringLiteral("Error: ") + text);
}
} // namespace

InotifyReader::InotifyReader(std::shared_ptr<InotifyCalls> calls, QList<WatchedPath> targets,
                             Handler handler, WriteBursts::Timing timing)
    : m_calls(std::move(calls))
    , m_bursts(timing)
    , m_handler(std::move(handler))
    , m_buffer(bufferSize)
{
    m_inotify = ScopedDescriptor(m_calls->init(IN_NONBLOCK | IN_CLOEXEC));
    if (!m_inotify.isValid())
        throw FileMonitorError::fromErrno(QStringLiteral("Cannot start inotify"), errno);
    m_wake = ScopedDescriptor(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
    if (!m_wake.isValid())
        throw FileMonitorError::fromErrno(QStringLiteral("Cannot create the wake-up event"), errno);
    m_folders = std::make_unique<WatchedFolders>(*m_calls, m_inotify.get(), std::move(targets));
    m_folders->arm();
}

InotifyReader::~InotifyReader()
{
    m_stopping = true;
    if (!m_thread.joinable())
        return;
    if (isReaderThread())
        qFatal("FileMonitor: the monitor cannot be stopped from its own handler");
    const std::uint64_t one = 1;
    // Cannot fail short of a full counter, and then the thread is awake anyway.
    [[maybe_unused]] const auto written = ::write(m_wake.get(), &one, sizeof one);
    m_thread.join();
}

void InotifyReader::start()
{
    m_thread = std::thread([this] { run(); });
    // The kernel limits names to 15 characters; it helps to find the thread in a debugger.
    pthread_setname_np(m_thread.native_handle(), "FileMonitor");
}

bool InotifyReader::isReaderThread() const
{
    return std::this_thread::get_id() == m_thread.get_id();
}

void InotifyReader::run()
{
    pollfd fds[] = {{m_inotify.get(), POLLIN, 0}, {m_wake.get(), POLLIN, 0}};
    while (!m_stopping) {
        if (::poll(fds, 2, pollTimeout()) < 0) {
            if (errno == EINTR)
                continue;
            writeError(QStringLiteral("File monitor stopped: ") + qt_error_string(errno));
            return;
        }
        if (fds[1].revents != 0)
            return;
        if (fds[0].revents & (POLLERR | POLLNVAL)) {
            writeError(QStringLiteral("File monitor stopped: inotify descriptor failed"));
            return;
        }
        if ((fds[0].revents & POLLIN) && !readOnce())
            return;
        if (!m_bursts.isEmpty())
            deliver(m_bursts.due(WriteBursts::Clock::now()));
    }
}

// Milliseconds until the next burst of writes is over, rounded up; -1 (no limit) when none.
int InotifyReader::pollTimeout() const
{
    const auto due = m_bursts.nextDue();
    if (!due)
        return -1;
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(*due - WriteBursts::Clock::now());
    return static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, 60000));
}

// One read per wake-up: poll() reports the descriptor again while events remain. False when
// reading failed for good, since poll() would then report it again at once, forever.
bool InotifyReader::readOnce()
{
    const ssize_t length = m_calls->read(m_inotify.get(), m_buffer.data(), m_buffer.size());
    if (length < 0) {
        if (errno == EAGAIN || errno == EINTR)
            return true;
        writeError(QStringLiteral("File monitor stopped: ") + qt_error_string(errno));
        return false;
    }
    const auto events = InotifyEvent::decode(m_buffer.data(), static_cast<std::size_t>(length));
    deliver(m_bursts.take(m_folders->handle(events), WriteBursts::Clock::now()));
    return true;
}

void InotifyReader::deliver(const std::vector<QUrl>& changed)
{
    for (const QUrl& url : changed) {
        // A monitor being stopped calls no more handlers, even for events already read.
        if (m_stopping)
            return;
        try {
            m_handler(url);
        } catch (const std::exception& error) {
            // The thread must outlive a failing handler, or every later change is lost.
            writeError(QStringLiteral("File monitor handler failed: ") +
                       QString::fromUtf8(error.what()));
        }
    }
}
