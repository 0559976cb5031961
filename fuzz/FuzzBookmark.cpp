#include "Bookmark.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::optional<Bookmark> bookmark =
        Bookmark::parse(QByteArrayView(data, static_cast<qsizetype>(size)));
    if (bookmark) {
        (void)bookmark->targetPath();
        bookmark->resolve(QStringLiteral("/nonexistent-home"));
    }
    return 0;
}
