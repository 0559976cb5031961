#include "SystemLog.h"

#include "Diagnostics.h"

namespace {
SystemLog::Sink& currentSink()
{
    static SystemLog::Sink sink;
    return sink;
}
} // namespace

void SystemLog::write(const QString& line)
{
    if (const Sink& sink = currentSink())
        sink(line);
    else
        Diagnostics::standardError()(line);
}

SystemLog::Sink SystemLog::setSink(Sink sink)
{
    return std::exchange(currentSink(), std::move(sink));
}
