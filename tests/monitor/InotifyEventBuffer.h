#pragma once

#include <QByteArray>

#include <cstdint>
#include <cstring>
#include <sys/inotify.h>

// Builds the bytes read() returns from an inotify descriptor, one record at a time, with the
// name padded by NUL bytes as the kernel pads it.
class InotifyEventBuffer
{
public:
    InotifyEventBuffer& add(int wd, std::uint32_t mask, const QByteArray& name = {},
                            std::uint32_t cookie = 0)
    {
        const std::uint32_t length =
            name.isEmpty() ? 0 : static_cast<std::uint32_t>((name.size() + 1 + 15) / 16 * 16);
        addRaw(wd, mask, cookie, length, name + QByteArray(length - name.size(), '\0'));
        return *this;
    }

    // A record whose length field and name bytes are given as they are, right or wrong.
    InotifyEventBuffer& addRaw(int wd, std::uint32_t mask, std::uint32_t cookie,
                               std::uint32_t length, const QByteArray& nameBytes)
    {
        inotify_event header{};
        header.wd = wd;
        header.mask = mask;
        header.cookie = cookie;
        header.len = length;
        QByteArray record(sizeof header, '\0');
        std::memcpy(record.data(), &header, sizeof header);
        m_bytes += record + nameBytes;
        return *this;
    }

    const QByteArray& bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
