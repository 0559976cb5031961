#include "BinaryPropertyListView.h"

#include "BinaryPropertyListReader.h"

#include <QtEndian>

#include <algorithm>

namespace {

// States of an object in m_checked besides its height.
constexpr qint16 unchecked = -1;
constexpr qint16 beingChecked = -2;
constexpr qint16 malformed = -3;
} // namespace

BinaryPropertyListView::BinaryPropertyListView(QByteArrayView data)
    : m_data(data)
{}

bool BinaryPropertyListView::open()
{
    if (!BinaryPropertyListReader::looksLikeBinary(m_data))
        return false;
    const std::optional<BinaryPropertyListTrailer> trailer =
        BinaryPropertyListTrailer::read(m_data);
    if (!trailer || trailer->objectCount > BinaryPropertyListReader::maximumObjectCount)
        return false;
    m_trailer = *trailer;
    m_checked.resize(static_cast<qsizetype>(m_trailer.objectCount));
    std::fill(m_checked.begin(), m_checked.end(), Checked());
    return true;
}

std::optional<quint64> BinaryPropertyListView::objectOffset(quint64 index) const
{
    return m_trailer.objectOffset(m_data, index);
}

std::optional<quint64> BinaryPropertyListView::lengthAfterMarker(quint8 marker,
                                                                 qsizetype* position) const
{
    const quint8 low = marker & 0x0f;
    if (low != 0x0f)
        return low;
    // A length of 15 or more follows as an integer object.
    const std::optional<quint64> intMarker = unsignedAt(*position, 1);
    if (!intMarker || (*intMarker & 0xf0) != 0x10 || (*intMarker & 0x0f) > 3)
        return std::nullopt;
    const int size = 1 << (*intMarker & 0x0f);
    const std::optional<quint64> length = unsignedAt(*position + 1, size);
    *position += 1 + size;
    return length;
}

// The object's header, with the bounds BinaryPropertyListReader checks when it reads the object.
std::optional<BinaryPropertyListView::Object> BinaryPropertyListView::objectAt(quint64 index) const
{
    const std::optional<quint64> offset = objectOffset(index);
    if (!offset)
        return std::nullopt;
    const quint8 marker = static_cast<quint8>(m_data[static_cast<qsizetype>(*offset)]);
    qsizetype position = static_cast<qsizetype>(*offset) + 1;
    const quint8 low = marker & 0x0f;
    switch (marker & 0xf0) {
    case 0x00:
        return Object{Type::Singleton, position, 0};
    case 0x10: {
        if (low > 3)
            return std::nullopt;
        const qsizetype size = qsizetype(1) << low;
        if (position + size > m_data.size())
            return std::nullopt;
        return Object{Type::Integer, position, quint64(size)};
    }
    case 0x80: {
        const qsizetype size = low + 1;
        if (size > 8 || position + size > m_data.size())
            return std::nullopt;
        return Object{Type::Uid, position, quint64(size)};
    }
    case 0x40:
    case 0x50:
    case 0x60:
    case 0xa0:
    case 0xc0:
    case 0xd0:
        break;
    default:
        return std::nullopt;
    }

    const std::optional<quint64> length = lengthAfterMarker(marker, &position);
    if (!length || position > m_data.size())
        return std::nullopt;
    const quint64 available = static_cast<quint64>(m_data.size() - position);
    const quint64 references = quint64(m_trailer.referenceSize);
    switch (marker & 0xf0) {
    case 0x40:
        return *length <= available ? std::optional(Object{Type::Data, position, *length})
                                    : std::nullopt;
    case 0x50:
        return *length <= available ? std::optional(Object{Type::AsciiString, position, *length})
                                    : std::nullopt;
    case 0x60:
        return *length <= available / 2
                   ? std::optional(Object{Type::Utf16String, position, *length})
                   : std::nullopt;
    case 0xd0:
        if (*length > available || *length * 2 > available / references)
            return std::nullopt;
        return Object{Type::Dictionary, position, *length};
    default:
        if (*length > available || *length > available / references)
            return std::nullopt;
        return Object{(marker & 0xf0) == 0xa0 ? Type::Array : Type::Set, position, *length};
    }
}

// The height of the object's tree, or a negative value when BinaryPropertyListReader could fail
// reading it at this depth: damage, a cycle, nesting too deep or a dictionary key that is not
// text. Shared objects are checked once; a later visit deeper down still counts their height.
int BinaryPropertyListView::checkedHeight(quint64 index, int depth)
{
    if (index >= m_trailer.objectCount || depth > BinaryPropertyListReader::maximumDepth)
        return -1;
    Checked& checked = m_checked[static_cast<qsizetype>(index)];
    if (checked.height >= 0)
        return depth + checked.height > BinaryPropertyListReader::maximumDepth ? -1
                                                                               : checked.height;
    if (checked.height != unchecked)
        return -1;
    const std::optional<Object> object = objectAt(index);
    if (!object) {
        checked.height = malformed;
        return -1;
    }
    checked.object = *object;
    const bool isDictionary = object->type == Type::Dictionary;
    if (!isDictionary && object->type != Type::Array && object->type != Type::Set) {
        checked.height = 0;
        return 0;
    }
    checked.height = beingChecked;
    const quint64 members = isDictionary ? object->length * 2 : object->length;
    int height = 0;
    for (quint64 i = 0; i < members; ++i) {
        const quint64 reference = member(*object, i);
        const int below = checkedHeight(reference, depth + 1);
        const bool badKey = isDictionary && i < object->length && below >= 0 &&
                            !isText(m_checked[static_cast<qsizetype>(reference)].object);
        if (below < 0 || badKey) {
            checked.height = malformed;
            return -1;
        }
        height = std::max(height, below + 1);
    }
    checked.height = static_cast<qint16>(height);
    return height;
}

std::optional<BinaryPropertyListView::Object> BinaryPropertyListView::checkedObject(quint64 index)
{
    if (checkedHeight(index, 0) < 0)
        return std::nullopt;
    return m_checked[static_cast<qsizetype>(index)].object;
}
