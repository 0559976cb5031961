#pragma once

#include <QByteArray>
#include <QList>

#include <cstdint>

// A GLib GVariant in its serialized form (as GVDB files keep them): a type string and the bytes,
// read without GLib. Reading follows GVariant's own rules for damaged data: a part that does not
// fit its container reads as its type's empty value, never beyond the bytes given. Types nest at
// most maxDepth deep. Parts share their container's bytes: taking a value apart copies nothing.
class SerializedVariant
{
public:
    static constexpr int maxDepth = 64;

    SerializedVariant() = default;
    // bytes hold one value of type (a single complete type), in little- or big-endian order.
    SerializedVariant(QByteArray type, QByteArray bytes, bool bigEndian = false);

    // False for the empty variant returned for what cannot be read (no or a broken type).
    bool isValid() const { return type_.size > 0; }
    QByteArrayView type() const { return type_.view(); }
    QByteArrayView bytes() const { return bytes_.view(); }

    // A 'v': the value it holds, or an invalid variant when that is damaged.
    SerializedVariant unwrapped() const;
    // An array's elements, a tuple's or dictionary entry's members, a maybe's value (none or one).
    QList<SerializedVariant> children() const;

    // 's', 'o', 'g': the text up to its end; empty when not terminated.
    QByteArray string() const;
    // 'ay': the bytes, without the trailing zero byte string-like arrays carry.
    QByteArray byteString() const;
    // An integer of 1 to 8 bytes ('y', 'b', 'n', 'q', 'i', 'u', 'h', 'x', 't') as the unsigned
    // number of its bits; zero for any other type or a value of the wrong size.
    std::uint64_t number() const;

private:
    // A part of a shared buffer.
    struct Slice
    {
        QByteArray buffer;
        qsizetype start = 0;
        qsizetype size = 0;

        QByteArrayView view() const { return QByteArrayView(buffer).sliced(start, size); }
        Slice part(QByteArrayView inside) const
        {
            // An empty part may point anywhere, an empty buffer's nowhere.
            if (inside.isEmpty())
                return {buffer, 0, 0};
            return {buffer, inside.data() - buffer.constData(), inside.size()};
        }
    };

    // A part of this variant: its type is a part of an already checked type.
    SerializedVariant(Slice type, Slice bytes, bool bigEndian)
        : type_(std::move(type))
        , bytes_(std::move(bytes))
        , bigEndian_(bigEndian)
    {}

    Slice type_;
    Slice bytes_;
    bool bigEndian_ = false;
};
