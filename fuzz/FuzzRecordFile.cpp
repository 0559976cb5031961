// The path every start takes for each file in the record folder: the keyed archive walked in
// place (or, for any other shape, opened and resolved item by item), each bookmark decoded and
// resolved, documents dated and grouped. The walk in place must find what the archive decoder
// finds whenever it answers at all.
#include "Diagnostics.h"
#include "RecordBookmarks.h"
#include "SystemRecordsReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The reader reports damage on standard output; millions of lines would only slow the run.
    Diagnostics::setSink([](const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const std::optional<RecordBookmarks> inPlace = RecordBookmarks::readInPlace(bytes))
        if (*inPlace != RecordBookmarks::readThroughArchive(bytes))
            std::abort();
    readRecordData(bytes);
    return 0;
}
