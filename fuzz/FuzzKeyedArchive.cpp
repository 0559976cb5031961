#include "KeyedArchive.h"

#include <cstddef>
#include <cstdint>

// Walks the decoded graph the way the record reader does, so lazily wrong values would surface.
static void touch(const QVariant& value, int depth)
{
    if (depth > 64)
        return;
    if (value.metaType() == QMetaType::fromType<QVariantMap>())
        for (const QVariant& item : value.toMap())
            touch(item, depth + 1);
    else if (value.metaType() == QMetaType::fromType<QVariantList>())
        for (const QVariant& item : value.toList())
            touch(item, depth + 1);
    else if (value.metaType() == QMetaType::fromType<ArchivedObject>())
        for (const QVariant& item : value.value<ArchivedObject>().fields)
            touch(item, depth + 1);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QString error;
    const std::optional<KeyedArchive> archive =
        KeyedArchive::open(QByteArrayView(data, static_cast<qsizetype>(size)), &error);
    if (archive)
        touch(archive->decodeTopLevelObject(QStringLiteral("root"), &error), 0);
    return 0;
}
