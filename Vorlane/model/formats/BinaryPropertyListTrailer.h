#pragma once

#include <QByteArrayView>

#include <optional>

// The last 32 bytes of a binary property list: how wide offsets and references are, how many
// objects there are, which is the top one and where the table of their offsets starts. Read only
// when every field fits the file, so the offsets it gives can be trusted to lie inside it.
struct BinaryPropertyListTrailer
{
    // "bplist00" before the objects, the trailer's 32 bytes after the offset table.
    static constexpr qsizetype headerSize = 8;
    static constexpr qsizetype trailerSize = 32;

    int offsetSize = 0;
    int referenceSize = 0;
    quint64 objectCount = 0;
    quint64 topObject = 0;
    quint64 offsetTableStart = 0;

    static std::optional<BinaryPropertyListTrailer> read(QByteArrayView data);
    // Where object index starts, when the offset table names a place among the objects.
    std::optional<quint64> objectOffset(QByteArrayView data, quint64 index) const;
};
