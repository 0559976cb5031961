#include "DocumentPortalStore.h"
#include "GvdbReader.h"

#include <cstddef>
#include <cstdint>

namespace {
// Everything a reader can reach from a table: its keys, their values taken apart, its tables.
void readTable(const GvdbReader& table, int depth)
{
    for (const QString& key : table.keys()) {
        QList<SerializedVariant> pending{table.value(key)};
        for (qsizetype i = 0; i < pending.size() && pending.size() < 4096; ++i) {
            (void)pending.at(i).string();
            (void)pending.at(i).byteString();
            (void)pending.at(i).number();
            pending << pending.at(i).children() << pending.at(i).unwrapped();
        }
        if (depth < 8)
            if (const std::optional<GvdbReader> nested = table.table(key))
                readTable(*nested, depth + 1);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const std::optional<GvdbReader> root = GvdbReader::open(bytes))
        readTable(*root, 0);
    (void)DocumentPortalStore::parse(bytes);
    return 0;
}
