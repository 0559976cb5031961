#include "PickListReader.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    for (const PickListReader::Item& item : PickListReader::read(buffer))
        (void)QByteArray::fromBase64Encoding(item.thumbnail);
    return 0;
}
