#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

// One record read from an inotify descriptor: which watch, what happened and, for events on an
// entry of a watched folder, the entry's name.
struct InotifyEvent
{
    int wd = -1;
    std::uint32_t mask = 0;
    std::uint32_t cookie = 0;
    // Empty for events on the watched folder itself (IN_DELETE_SELF, IN_IGNORED, ...).
    QString name;

    // Splits the bytes of one read() into events. The kernel only returns whole records; a
    // record cut short, or one whose name runs past the end, ends the decoding rather than
    // being guessed at.
    static std::vector<InotifyEvent> decode(const char* data, std::size_t size);
};
