#include "BinaryPropertyListReader.h"

#include "PropertyList.h"

#include <QDateTime>
#include <QtEndian>

#include <cstring>

namespace {

enum Marker : quint8
{
    SingletonMarker = 0x00,
    IntegerMarker = 0x10,
    RealMarker = 0x20,
    DateMarker = 0x33,
    DataMarker = 0x40,
    AsciiStringMarker = 0x50,
    Utf16StringMarker = 0x60,
    UidMarker = 0x80,
    ArrayMarker = 0xa0,
    SetMarker = 0xc0,
    DictionaryMarker = 0xd0,
};

double fromBigEndianDouble(const char* bytes)
{
    const quint64 bits = qFromBigEndian<quint64>(bytes);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

float fromBigEndianFloat(const char* bytes)
{
    const quint32 bits = qFromBigEndian<quint32>(bytes);
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
} // namespace

BinaryPropertyListReader::BinaryPropertyListReader(QByteArrayView data)
    : m_data(data)
{}

bool BinaryPropertyListReader::looksLikeBinary(QByteArrayView data)
{
    return data.startsWith("bplist0");
}

QVariant BinaryPropertyListReader::fail(const QString& reason)
{
    if (m_error.isEmpty())
        m_error = reason;
    return {};
}

std::optional<quint64> BinaryPropertyListReader::unsignedAt(qsizetype offset, int size) const
{
    if (offset < 0 || size < 1 || size > 8 || offset + size > m_data.size())
        return std::nullopt;
    quint64 value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | static_cast<quint8>(m_data[offset + i]);
    return value;
}

bool BinaryPropertyListReader::readTrailer()
{
    const std::optional<BinaryPropertyListTrailer> trailer =
        BinaryPropertyListTrailer::read(m_data);
    if (trailer)
        m_trailer = *trailer;
    return trailer.has_value();
}

std::optional<quint64> BinaryPropertyListReader::objectOffset(quint64 index) const
{
    return m_trailer.objectOffset(m_data, index);
}

bool BinaryPropertyListReader::reportError(QString* error) const
{
    if (m_error.isEmpty())
        return false;
    if (error)
        *error = m_error;
    return true;
}

bool BinaryPropertyListReader::open(QString* error)
{
    if (!looksLikeBinary(m_data) || !readTrailer())
        fail(QStringLiteral("The data isn't a binary property list."));
    else if (m_trailer.objectCount > maximumObjectCount)
        fail(QStringLiteral("The property list holds too many objects."));
    if (reportError(error))
        return false;
    m_objects.resize(m_trailer.objectCount);
    m_states.resize(m_trailer.objectCount, ObjectState::Unread);
    return true;
}

std::optional<QVariant> BinaryPropertyListReader::read(QString* error)
{
    if (!open(error))
        return std::nullopt;
    QVariant root = readObject(m_trailer.topObject, 0);
    if (reportError(error))
        return std::nullopt;
    return root;
}

QVariant BinaryPropertyListReader::readObject(quint64 index, QString* error)
{
    QVariant value = readObject(index, 0);
    return reportError(error) ? QVariant() : value;
}

quint64 BinaryPropertyListReader::referenceAt(qsizetype position, quint64 i) const
{
    return *unsignedAt(position + static_cast<qsizetype>(i) * m_trailer.referenceSize,
                       m_trailer.referenceSize);
}

std::optional<BinaryPropertyListReader::Collection>
BinaryPropertyListReader::collectionAt(quint64 index, quint8 kind)
{
    const std::optional<quint64> offset = m_error.isEmpty() ? objectOffset(index) : std::nullopt;
    if (!offset) {
        fail(QStringLiteral("The property list refers to object %1, which it does not hold.")
                 .arg(index));
        return std::nullopt;
    }
    const quint8 marker = static_cast<quint8>(m_data[static_cast<qsizetype>(*offset)]);
    qsizetype position = static_cast<qsizetype>(*offset) + 1;
    const std::optional<quint64> count = lengthAfterMarker(marker, &position);
    const quint64 references = kind == DictionaryMarker && count ? *count * 2 : count.value_or(0);
    const quint64 available = position <= m_data.size() ? quint64(m_data.size() - position) : 0;
    if ((marker & 0xf0) != kind || !count || *count > available ||
        references > available / quint64(m_trailer.referenceSize)) {
        fail(QStringLiteral("The property list's object %1 is not the collection expected.")
                 .arg(index));
        return std::nullopt;
    }
    return Collection{kind, position, *count};
}

std::optional<QList<quint64>> BinaryPropertyListReader::arrayMembers(quint64 index, QString* error)
{
    const std::optional<Collection> array = collectionAt(index, ArrayMarker);
    if (!array) {
        reportError(error);
        return std::nullopt;
    }
    QList<quint64> members;
    members.reserve(static_cast<qsizetype>(array->count));
    for (quint64 i = 0; i < array->count; ++i)
        members.append(referenceAt(array->position, i));
    return members;
}

std::optional<QList<std::pair<QString, quint64>>>
BinaryPropertyListReader::dictionaryMembers(quint64 index, QString* error)
{
    const std::optional<Collection> dictionary = collectionAt(index, DictionaryMarker);
    QList<std::pair<QString, quint64>> members;
    for (quint64 i = 0; dictionary && i < dictionary->count && m_error.isEmpty(); ++i) {
        const QVariant key = readObject(referenceAt(dictionary->position, i), 0);
        if (key.metaType() != QMetaType::fromType<QString>())
            fail(QStringLiteral("The property list holds a dictionary key that is not text."));
        members.append({key.toString(), referenceAt(dictionary->position, dictionary->count + i)});
    }
    if (reportError(error))
        return std::nullopt;
    return members;
}

QVariant BinaryPropertyListReader::readObject(quint64 index, int depth)
{
    if (!m_error.isEmpty())
        return {};
    if (index < m_states.size() && m_states[index] == ObjectState::Read)
        return m_objects[index];
    if (index < m_states.size() && m_states[index] == ObjectState::Reading)
        return fail(QStringLiteral("The property list's object %1 contains itself.").arg(index));
    if (depth > maximumDepth)
        return fail(QStringLiteral("The property list is nested too deeply."));
    const std::optional<quint64> offset = objectOffset(index);
    if (!offset)
        return fail(QStringLiteral("The property list refers to object %1, which it does not hold.")
                        .arg(index));

    m_states[index] = ObjectState::Reading;
    QVariant value = readAt(static_cast<qsizetype>(*offset), depth);
    m_states[index] = ObjectState::Read;
    m_objects[index] = value;
    return value;
}

std::optional<quint64> BinaryPropertyListReader::lengthAfterMarker(quint8 marker,
                                                                   qsizetype* position)
{
    const quint8 low = marker & 0x0f;
    if (low != 0x0f)
        return low;
    // A length of 15 or more follows as an integer object.
    const std::optional<quint64> intMarker = unsignedAt(*position, 1);
    if (!intMarker || (*intMarker & 0xf0) != IntegerMarker || (*intMarker & 0x0f) > 3)
        return std::nullopt;
    const int size = 1 << (*intMarker & 0x0f);
    const std::optional<quint64> length = unsignedAt(*position + 1, size);
    *position += 1 + size;
    return length;
}

QVariant BinaryPropertyListReader::readInteger(qsizetype offset, int sizeExponent)
{
    if (sizeExponent == 4) {
        // Sixteen-byte integers hold values beyond 63 bits; the low eight bytes carry them.
        const std::optional<quint64> low = unsignedAt(offset + 8, 8);
        return low ? QVariant(static_cast<qint64>(*low))
                   : fail(QStringLiteral("Truncated integer."));
    }
    if (sizeExponent > 3)
        return fail(QStringLiteral("The property list holds an integer of unknown size."));
    const int size = 1 << sizeExponent;
    const std::optional<quint64> value = unsignedAt(offset, size);
    if (!value)
        return fail(QStringLiteral("Truncated integer."));
    // Eight-byte integers are signed; shorter ones unsigned.
    return static_cast<qint64>(*value);
}

QVariant BinaryPropertyListReader::readReal(qsizetype offset, int sizeExponent)
{
    const int size = sizeExponent == 2 ? 4 : sizeExponent == 3 ? 8 : 0;
    if (size == 0 || offset + size > m_data.size())
        return fail(QStringLiteral("The property list holds a damaged real number."));
    const char* bytes = m_data.data() + offset;
    return size == 4 ? double(fromBigEndianFloat(bytes)) : fromBigEndianDouble(bytes);
}

QVariant BinaryPropertyListReader::readCollection(qsizetype position, quint64 count, int depth,
                                                  bool isDictionary)
{
    const quint64 references = isDictionary ? count * 2 : count;
    const quint64 available = static_cast<quint64>(m_data.size() - position);
    if (count > available || references > available / quint64(m_trailer.referenceSize))
        return fail(QStringLiteral("The property list holds a collection longer than itself."));
    auto member = [&](quint64 i) { return referenceAt(position, i); };
    if (!isDictionary) {
        QVariantList list;
        list.reserve(static_cast<qsizetype>(count));
        for (quint64 i = 0; i < count && m_error.isEmpty(); ++i)
            list.append(readObject(member(i), depth + 1));
        return list;
    }
    QVariantMap map;
    for (quint64 i = 0; i < count && m_error.isEmpty(); ++i) {
        const QVariant key = readObject(member(i), depth + 1);
        if (key.metaType() != QMetaType::fromType<QString>())
            return fail(
                QStringLiteral("The property list holds a dictionary key that is not text."));
        map.insert(key.toString(), readObject(member(count + i), depth + 1));
    }
    return map;
}

QVariant BinaryPropertyListReader::readAt(qsizetype offset, int depth)
{
    const quint8 marker = static_cast<quint8>(m_data[offset]);
    qsizetype position = offset + 1;
    switch (marker & 0xf0) {
    case SingletonMarker:
        if (marker == 0x08 || marker == 0x09)
            return marker == 0x09;
        return QVariant();
    case IntegerMarker:
        return readInteger(position, marker & 0x0f);
    case RealMarker:
        return readReal(position, marker & 0x0f);
    case DateMarker & 0xf0: {
        if (marker != DateMarker || position + 8 > m_data.size())
            return fail(QStringLiteral("The property list holds a damaged date."));
        const std::optional<QDateTime> date =
            PropertyList::dateFromReferenceSeconds(fromBigEndianDouble(m_data.data() + position));
        return date ? QVariant(*date)
                    : fail(QStringLiteral("The property list holds a date out of range."));
    }
    case UidMarker: {
        const std::optional<quint64> uid = unsignedAt(position, (marker & 0x0f) + 1);
        return uid ? QVariant::fromValue(PlistUid{*uid}) : fail(QStringLiteral("Truncated UID."));
    }
    default:
        break;
    }

    const std::optional<quint64> length = lengthAfterMarker(marker, &position);
    const quint64 available = static_cast<quint64>(m_data.size() - position);
    if (!length || position > m_data.size())
        return fail(QStringLiteral("The property list holds a damaged length."));
    switch (marker & 0xf0) {
    case DataMarker:
        if (*length > available)
            return fail(QStringLiteral("The property list holds data longer than itself."));
        return m_data.sliced(position, static_cast<qsizetype>(*length)).toByteArray();
    case AsciiStringMarker:
        if (*length > available)
            return fail(QStringLiteral("The property list holds text longer than itself."));
        return QString::fromLatin1(m_data.sliced(position, static_cast<qsizetype>(*length)));
    case Utf16StringMarker: {
        if (*length > available / 2)
            return fail(QStringLiteral("The property list holds text longer than itself."));
        QString text(static_cast<qsizetype>(*length), Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i)
            text[i] = QChar(qFromBigEndian<quint16>(m_data.data() + position + 2 * i));
        return text;
    }
    case ArrayMarker:
    case SetMarker:
        return readCollection(position, *length, depth, false);
    case DictionaryMarker:
        return readCollection(position, *length, depth, true);
    default:
        return fail(QStringLiteral("The property list holds an object of unknown type."));
    }
}
