#include "FileActions.h"

namespace {
OpenRecentFileHandler& currentHandler()
{
    static OpenRecentFileHandler handler;
    return handler;
}
} // namespace

void openRecentFile(const RecentApp& app, qsizetype index, const QString& viewKind, bool reveal)
{
    if (const OpenRecentFileHandler& handler = currentHandler())
        handler(app, index, viewKind, reveal);
}

OpenRecentFileHandler setOpenRecentFileHandler(OpenRecentFileHandler handler)
{
    return std::exchange(currentHandler(), std::move(handler));
}
