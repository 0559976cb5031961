#include "DocumentPortalStore.h"
#include "GvdbReader.h"

#include <cstddef>
#include <cstdint>

namespace {
// Everything a reader can reach from a table: its keys, their values taken apart, its tables.
// Values may overlap and tables hold themselves, so the work is limited per input: a key costs
// as much as 64 bytes of values taken apart, a part as much as a byte.
void readTable(const GvdbReader& table, int depth, qsizetype& budget)
{
    for (const QString& key : table.keys()) {
        budget -= 64;
        if (budget <= 0)
            return;
        QList<SerializedVariant> pending{table.value(key)};
        for (qsizetype i = 0; i < pending.size() && budget > 0; ++i) {
            const SerializedVariant value = pending.at(i);
            budget -= value.bytes().size() + 1;
            (void)value.string();
            (void)value.byteString();
            (void)value.number();
            const QList<SerializedVariant> children = value.children();
            budget -= children.size();
            pending << children;
            if (const SerializedVariant inside = value.unwrapped(); inside.isValid())
                pending << inside;
        }
        if (depth < 8 && budget > 0)
            if (const std::optional<GvdbReader> nested = table.table(key))
                readTable(*nested, depth + 1, budget);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const std::optional<GvdbReader> root = GvdbReader::open(bytes)) {
        qsizetype budget = 1 << 18;
        readTable(*root, 0, budget);
    }
    (void)DocumentPortalStore::parse(bytes);
    return 0;
}
