#include "Diagnostics.h"

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
} // namespace

void Diagnostics::write(const QString& line)
{
    if (const Sink& sink = currentSink())
        sink(line);
    else
        writeTo(stdout, line);
}

Diagnostics::Sink Diagnostics::setSink(Sink sink)
{
    return std::exchange(currentSink(), std::move(sink));
}

Diagnostics::Sink Diagnostics::standardError()
{
    return [](const QString& line) { writeTo(stderr, line); };
}
