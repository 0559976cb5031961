#include "Diagnostics.h"

#include <QMutexLocker>
#include <QRecursiveMutex>

#include <cstdio>

namespace {
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

void Diagnostics::write(const QString& line)
{
    // Whole lines, even when a rebuild on a worker thread and the window write at once.
    const QMutexLocker locker(&sinkMutex());
    if (const Sink& sink = currentSink())
        sink(line);
    else
        writeTo(stdout, line);
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
