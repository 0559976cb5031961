#include "InotifyEvent.h"

#include <QFile>

#include <cstring>
#include <sys/inotify.h>

namespace {
constexpr std::size_t headerSize = sizeof(inotify_event);

// The kernel pads names with NUL bytes up to an aligned length.
QString decodeName(const char* bytes, std::size_t length)
{
    const void* end = std::memchr(bytes, '\0', length);
    const std::size_t used =
        end ? static_cast<std::size_t>(static_cast<const char*>(end) - bytes) : length;
    return QFile::decodeName(QByteArray(bytes, static_cast<qsizetype>(used)));
}
} // namespace

std::vector<InotifyEvent> InotifyEvent::decode(const char* data, std::size_t size)
{
    std::vector<InotifyEvent> events;
    std::size_t offset = 0;
    while (size - offset >= headerSize) {
        // memcpy, because a buffer handed in by a caller need not be aligned for the struct.
        inotify_event header;
        std::memcpy(&header, data + offset, headerSize);
        offset += headerSize;
        if (header.len > size - offset)
            break;
        InotifyEvent event;
        event.wd = header.wd;
        event.mask = header.mask;
        event.cookie = header.cookie;
        event.name = decodeName(data + offset, header.len);
        offset += header.len;
        events.push_back(std::move(event));
    }
    return events;
}
