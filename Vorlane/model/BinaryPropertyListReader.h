#pragma once

#include <QByteArrayView>
#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

// Reader of binary property lists ("bplist00"): a header, objects, an offset table and a trailer.
// Every offset, count and reference is checked against the data, references that lead back to
// an object being read are an error, and shared objects are read once.
class BinaryPropertyListReader
{
public:
    explicit BinaryPropertyListReader(QByteArrayView data);

    static bool looksLikeBinary(QByteArrayView data);
    std::optional<QVariant> read(QString* error);

private:
    struct Trailer
    {
        int offsetSize = 0;
        int referenceSize = 0;
        quint64 objectCount = 0;
        quint64 topObject = 0;
        quint64 offsetTableStart = 0;
    };

    bool readTrailer();
    QVariant readObject(quint64 index, int depth);
    QVariant readAt(qsizetype offset, int depth);
    std::optional<quint64> objectOffset(quint64 index) const;
    std::optional<quint64> unsignedAt(qsizetype offset, int size) const;
    std::optional<quint64> lengthAfterMarker(quint8 marker, qsizetype* position);
    QVariant readInteger(qsizetype offset, int sizeExponent);
    QVariant readReal(qsizetype offset, int sizeExponent);
    QVariant readCollection(qsizetype position, quint64 count, int depth, bool isDictionary);
    QVariant fail(const QString& reason);

    QByteArrayView m_data;
    Trailer m_trailer;
    enum class ObjectState : quint8
    {
        Unread,
        Reading,
        Read
    };
    std::vector<QVariant> m_objects;
    std::vector<ObjectState> m_states;
    QString m_error;
};
