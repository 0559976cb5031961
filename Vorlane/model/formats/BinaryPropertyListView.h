#pragma once

#include "BinaryPropertyListTrailer.h"

#include <QByteArrayView>
#include <QLatin1StringView>
#include <QVarLengthArray>
#include <QtEndian>

#include <cstring>
#include <optional>

// Reads a binary property list's objects where they lie, without making a value of any: the
// offset table, object references and typed reads straight from the bytes. For readers that
// walk a few known paths through a file and would otherwise pay for a QVariant per object.
//
// It accepts no less than BinaryPropertyListReader checks: an object counts as well formed only
// when that reader would read it and everything it refers to without error (same bounds, cycles,
// depth and key types). It may refuse more (dates, reals and sixteen-byte integers are never
// called well formed), so a reader that finds an object not well formed hands the file to
// BinaryPropertyListReader, which says what is wrong.
class BinaryPropertyListView
{
public:
    enum class Type : quint8
    {
        Singleton,
        Integer,
        Data,
        AsciiString,
        Utf16String,
        Uid,
        Array,
        Set,
        Dictionary
    };

    // An object's type, where its contents start and their length: bytes of data, integers and
    // UIDs, characters of text, members of collections.
    struct Object
    {
        Type type = Type::Singleton;
        qsizetype position = 0;
        quint64 length = 0;
    };

    explicit BinaryPropertyListView(QByteArrayView data);

    // The header and trailer, with BinaryPropertyListReader::open's checks.
    bool open();
    quint64 topObject() const { return m_trailer.topObject; }

    // The object at index, its own bounds checked; what it refers to is left unchecked.
    std::optional<Object> object(quint64 index) const { return objectAt(index); }
    // The object at index when it and all it refers to are well formed.
    std::optional<Object> wellFormedObject(quint64 index)
    {
        // Objects found well formed once are asked about again and again.
        if (index < m_trailer.objectCount && m_checked[static_cast<qsizetype>(index)].height >= 0)
            return m_checked[static_cast<qsizetype>(index)].object;
        return checkedObject(index);
    }

    // The reference to the i-th member of a collection; a dictionary's keys come first, then
    // its values.
    quint64 member(const Object& collection, quint64 i) const
    {
        return *unsignedAt(collection.position +
                               static_cast<qsizetype>(i) * m_trailer.referenceSize,
                           m_trailer.referenceSize);
    }
    quint64 uid(const Object& uid) const
    {
        return *unsignedAt(uid.position, static_cast<int>(uid.length));
    }
    QByteArrayView bytes(const Object& data) const
    {
        return m_data.sliced(data.position, static_cast<qsizetype>(data.length));
    }
    static bool isText(const Object& object)
    {
        return object.type == Type::AsciiString || object.type == Type::Utf16String;
    }
    QLatin1StringView ascii(const Object& text) const { return QLatin1StringView(bytes(text)); }
    bool asciiEquals(const Object& text, QLatin1StringView expected) const
    {
        return text.type == Type::AsciiString && text.length == quint64(expected.size()) &&
               std::memcmp(m_data.data() + text.position, expected.data(), text.length) == 0;
    }

private:
    std::optional<Object> objectAt(quint64 index) const;
    std::optional<quint64> objectOffset(quint64 index) const;
    // The big-endian number of size bytes at offset; none past the end.
    std::optional<quint64> unsignedAt(qsizetype offset, int size) const
    {
        if (offset < 0 || size < 1 || size > 8 || offset + size > m_data.size())
            return std::nullopt;
        const auto* bytes = reinterpret_cast<const uchar*>(m_data.data() + offset);
        if (size == 1)
            return bytes[0];
        if (size == 2)
            return qFromBigEndian<quint16>(bytes);
        quint64 value = 0;
        for (int i = 0; i < size; ++i)
            value = (value << 8) | bytes[i];
        return value;
    }
    std::optional<quint64> lengthAfterMarker(quint8 marker, qsizetype* position) const;
    int checkedHeight(quint64 index, int depth);
    std::optional<Object> checkedObject(quint64 index);

    QByteArrayView m_data;
    BinaryPropertyListTrailer m_trailer;
    // Per object: its header and the height of its tree once found well formed, or one of the
    // states in the source.
    struct Checked
    {
        Object object;
        qint16 height = -1;
    };
    QVarLengthArray<Checked, 256> m_checked;
};
