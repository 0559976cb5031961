#include "Bookmark.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Resolving straight from the data must agree with parsing, then resolving.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const QString home = QStringLiteral("/nonexistent-home");
    const std::optional<Bookmark> bookmark = Bookmark::parse(bytes);
    std::optional<Bookmark::Resolution> parsed;
    if (bookmark) {
        (void)bookmark->targetPath();
        parsed = bookmark->resolve(home);
    }
    const std::optional<Bookmark::Resolution> direct = Bookmark::resolve(bytes, home);
    if (parsed.has_value() != direct.has_value() ||
        (parsed && (parsed->fileUrl != direct->fileUrl || parsed->isStale != direct->isStale)))
        std::abort();
    return 0;
}
