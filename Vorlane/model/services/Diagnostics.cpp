#include "Diagnostics.h"

#include <QMutexLocker>
#include <QRecursiveMutex>

#include <atomic>
#include <cstdio>
#include <utility>

namespace {
std::atomic<bool> namesFiles = false;
// The file of the lines written on this thread; empty when none.
thread_local QString currentFile;

Diagnostics::Sink& currentSink()
{
    static Diagnostics::Sink sink;
    return sink;
}

void writeTo(FILE* stream, const QString& line)
{
    const QByteArray bytes = line.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

QRecursiveMutex& sinkMutex()
{
    static QRecursiveMutex mutex;
    return mutex;
}
} // namespace

Diagnostics::About::About(const QString& file)
    : m_previous(std::exchange(currentFile, file))
{}

Diagnostics::About::~About()
{
    currentFile = m_previous;
}

void Diagnostics::setNamesFiles(bool names)
{
    namesFiles = names;
}

void Diagnostics::write(const QString& line)
{
    const QString named =
        namesFiles && !currentFile.isEmpty() ? currentFile + QStringLiteral(": ") + line : line;
    // Whole lines, even when a rebuild on a worker thread and the window write at once.
    const QMutexLocker locker(&sinkMutex());
    if (const Sink& sink = currentSink())
        sink(named);
    else
        writeTo(stdout, named);
}

Diagnostics::Sink Diagnostics::setSink(Sink sink)
{
    const QMutexLocker locker(&sinkMutex());
    return std::exchange(currentSink(), std::move(sink));
}

Diagnostics::Sink Diagnostics::standardError()
{
    return [](const QString& line) { writeTo(stderr, line); };
}
