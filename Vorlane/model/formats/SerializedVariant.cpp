#include "SerializedVariant.h"

#include <algorithm>

namespace {
// How a type lays out: the alignment of its values (as a mask: 0, 1, 3 or 7) and, for types
// whose values all have one size, that size (0 for variable-size types).
struct VariantLayout
{
    qsizetype alignment = 0;
    qsizetype fixedSize = 0;
};

bool isBasicVariantType(char c)
{
    return c != 0 && QByteArrayView("ybnqiuxthdsog").contains(c);
}

// The end of the single complete type starting at pos, or -1 when there is none.
qsizetype variantTypeEnd(QByteArrayView type, qsizetype pos, int depth)
{
    if (depth > SerializedVariant::maxDepth || pos >= type.size())
        return -1;
    const char c = type.at(pos);
    if (isBasicVariantType(c) || c == 'v')
        return pos + 1;
    if (c == 'a' || c == 'm')
        return variantTypeEnd(type, pos + 1, depth + 1);
    if (c == '{') {
        if (pos + 1 >= type.size() || !isBasicVariantType(type.at(pos + 1)))
            return -1;
        const qsizetype valueEnd = variantTypeEnd(type, pos + 2, depth + 1);
        return valueEnd >= 0 && valueEnd < type.size() && type.at(valueEnd) == '}' ? valueEnd + 1
                                                                                   : -1;
    }
    if (c == '(') {
        qsizetype at = pos + 1;
        while (at < type.size() && type.at(at) != ')') {
            at = variantTypeEnd(type, at, depth + 1);
            if (at < 0)
                return -1;
        }
        return at < type.size() ? at + 1 : -1;
    }
    return -1;
}

// The member types of a tuple or dictionary entry type (already checked whole).
QList<QByteArrayView> variantMemberTypes(QByteArrayView type)
{
    QList<QByteArrayView> members;
    qsizetype at = 1;
    while (at < type.size() - 1) {
        const qsizetype end = variantTypeEnd(type, at, 0);
        if (end < 0)
            break;
        members.append(type.sliced(at, end - at));
        at = end;
    }
    return members;
}

qsizetype alignVariantOffset(qsizetype offset, qsizetype alignment)
{
    return (offset + alignment) & ~alignment;
}

VariantLayout variantLayoutOf(QByteArrayView type)
{
    switch (type.front()) {
    case 'y':
    case 'b':
        return {0, 1};
    case 'n':
    case 'q':
        return {1, 2};
    case 'i':
    case 'u':
    case 'h':
        return {3, 4};
    case 'x':
    case 't':
    case 'd':
        return {7, 8};
    case 'v':
        return {7, 0};
    case 'a':
    case 'm':
        return {variantLayoutOf(type.sliced(1)).alignment, 0};
    case '(':
    case '{': {
        VariantLayout tuple;
        qsizetype offset = 0;
        bool fixed = true;
        for (QByteArrayView member : variantMemberTypes(type)) {
            const VariantLayout layout = variantLayoutOf(member);
            tuple.alignment = std::max(tuple.alignment, layout.alignment);
            fixed = fixed && layout.fixedSize > 0;
            if (fixed)
                offset = alignVariantOffset(offset, layout.alignment) + layout.fixedSize;
        }
        if (fixed)
            // The empty tuple takes one byte.
            tuple.fixedSize = std::max<qsizetype>(alignVariantOffset(offset, tuple.alignment), 1);
        return tuple;
    }
    default: // strings
        return {0, 0};
    }
}

// Framing offsets take as many bytes as the container's size needs.
qsizetype framingOffsetSize(qsizetype containerSize)
{
    if (containerSize > 0xffffffffLL)
        return 8;
    if (containerSize > 0xffff)
        return 4;
    if (containerSize > 0xff)
        return 2;
    return containerSize > 0 ? 1 : 0;
}

// Framing offsets are little-endian whatever the values' byte order.
quint64 readFramingOffset(QByteArrayView bytes, qsizetype at, qsizetype size)
{
    quint64 value = 0;
    for (qsizetype i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<quint8>(bytes.at(at + i));
    return value;
}
} // namespace

SerializedVariant::SerializedVariant(QByteArray type, QByteArray bytes, bool bigEndian)
    : bigEndian_(bigEndian)
{
    if (variantTypeEnd(type, 0, 0) != type.size())
        return;
    type_ = {type, 0, type.size()};
    bytes_ = {bytes, 0, bytes.size()};
}

SerializedVariant SerializedVariant::unwrapped() const
{
    const QByteArrayView bytes = bytes_.view();
    if (type() != "v")
        return {};
    const qsizetype separator = bytes.lastIndexOf('\0');
    if (separator < 0)
        return {};
    const QByteArrayView type = bytes.sliced(separator + 1);
    if (variantTypeEnd(type, 0, 0) != type.size())
        return {};
    return SerializedVariant(bytes_.part(type), bytes_.part(bytes.first(separator)), bigEndian_);
}

QList<SerializedVariant> SerializedVariant::children() const
{
    if (!isValid())
        return {};
    const QByteArrayView type = type_.view();
    const QByteArrayView bytes = bytes_.view();
    const qsizetype size = bytes.size();
    const auto child = [&](QByteArrayView childType, qsizetype start, qsizetype end) {
        return SerializedVariant(type_.part(childType),
                                 bytes_.part(bytes.sliced(start, end - start)), bigEndian_);
    };
    const auto empty = [&](QByteArrayView childType) {
        return SerializedVariant(type_.part(childType), {}, bigEndian_);
    };
    const char kind = type.front();
    QList<SerializedVariant> children;
    if (kind == 'm') {
        const QByteArrayView valueType = type.sliced(1);
        const qsizetype fixedSize = variantLayoutOf(valueType).fixedSize;
        if (fixedSize > 0 ? size == fixedSize : size > 0)
            // A variable-size value is followed by one zero byte.
            children.append(child(valueType, 0, fixedSize > 0 ? size : size - 1));
    } else if (kind == 'a') {
        const QByteArrayView elementType = type.sliced(1);
        const VariantLayout element = variantLayoutOf(elementType);
        if (element.fixedSize > 0) {
            if (size % element.fixedSize != 0)
                return {};
            children.reserve(size / element.fixedSize);
            for (qsizetype start = 0; start < size; start += element.fixedSize)
                children.append(child(elementType, start, start + element.fixedSize));
            return children;
        }
        // Variable-size elements: their ends are listed after them, the last one first read.
        const qsizetype width = framingOffsetSize(size);
        if (size == 0)
            return {};
        const quint64 tableStart = readFramingOffset(bytes, size - width, width);
        if (tableStart > quint64(size) || (size - qsizetype(tableStart)) % width != 0)
            return {};
        const qsizetype count = (size - qsizetype(tableStart)) / width;
        children.reserve(count);
        qsizetype start = 0;
        for (qsizetype i = 0; i < count; ++i) {
            const quint64 end = readFramingOffset(bytes, qsizetype(tableStart) + i * width, width);
            start = alignVariantOffset(start, element.alignment);
            if (start <= qint64(end) && end <= tableStart) {
                children.append(child(elementType, start, qsizetype(end)));
                start = qsizetype(end);
            } else {
                children.append(empty(elementType));
            }
        }
    } else if (kind == '(' || kind == '{') {
        const QList<QByteArrayView> members = variantMemberTypes(type);
        const qsizetype fixedSize = variantLayoutOf(type).fixedSize;
        const qsizetype width = framingOffsetSize(size);
        qsizetype offsetsUsed = 0;
        qsizetype start = 0;
        for (qsizetype i = 0; i < members.size(); ++i) {
            const VariantLayout member = variantLayoutOf(members.at(i));
            start = alignVariantOffset(start, member.alignment);
            quint64 end = 0;
            if (member.fixedSize > 0) {
                end = quint64(start + member.fixedSize);
            } else if (i == members.size() - 1) {
                end = quint64(std::max<qsizetype>(size - offsetsUsed * width, 0));
            } else if ((offsetsUsed + 1) * width <= size) {
                ++offsetsUsed;
                end = readFramingOffset(bytes, size - offsetsUsed * width, width);
            }
            const bool fits = (fixedSize == 0 || size == fixedSize) && start <= qint64(end) &&
                              end <= quint64(size - offsetsUsed * width);
            if (fits) {
                children.append(child(members.at(i), start, qsizetype(end)));
                start = qsizetype(end);
            } else {
                children.append(empty(members.at(i)));
            }
        }
    }
    return children;
}

QByteArray SerializedVariant::string() const
{
    const QByteArrayView bytes = bytes_.view();
    if (type() != "s" && type() != "o" && type() != "g")
        return {};
    if (bytes.isEmpty() || bytes.indexOf('\0') != bytes.size() - 1)
        return {};
    return bytes.first(bytes.size() - 1).toByteArray();
}

QByteArray SerializedVariant::byteString() const
{
    const QByteArrayView bytes = bytes_.view();
    if (type() != "ay")
        return {};
    return (bytes.endsWith('\0') ? bytes.first(bytes.size() - 1) : bytes).toByteArray();
}

std::uint64_t SerializedVariant::number() const
{
    const QByteArrayView type = type_.view();
    const QByteArrayView bytes = bytes_.view();
    if (type.size() != 1 || !QByteArrayView("ybnqiuhxt").contains(type.front()) ||
        bytes.size() != variantLayoutOf(type).fixedSize)
        return 0;
    std::uint64_t value = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const qsizetype at = bigEndian_ ? i : bytes.size() - 1 - i;
        value = (value << 8) | static_cast<quint8>(bytes.at(at));
    }
    return value;
}
