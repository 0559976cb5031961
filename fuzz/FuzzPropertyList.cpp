#include "PropertyList.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PropertyList::parse(QByteArrayView(data, static_cast<qsizetype>(size)));
    return 0;
}
