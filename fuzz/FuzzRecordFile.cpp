// The path every start takes for each file in the record folder: the keyed archive opened and
// resolved item by item, each bookmark decoded and resolved, documents dated and grouped.
#include "Diagnostics.h"
#include "SystemRecordsReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The reader reports damage on standard output; millions of lines would only slow the run.
    Diagnostics::setSink([](const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    readRecordData(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    return 0;
}
