#pragma once

#include "BinaryPropertyListTrailer.h"

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
    // Deeper nesting than this is no record of ours and would only exhaust the stack.
    static constexpr int maximumDepth = 512;
    // Records and preference files hold hundreds of objects; a million is no file of ours.
    static constexpr quint64 maximumObjectCount = 1'000'000;

    explicit BinaryPropertyListReader(QByteArrayView data);

    static bool looksLikeBinary(QByteArrayView data);
    // Reads the whole property list from its top object.
    std::optional<QVariant> read(QString* error);

    // For readers that take only what they need: check the trailer once, then read objects one
    // at a time. After a failure every later read fails too, with the first reason.
    bool open(QString* error);
    quint64 topObject() const { return m_trailer.topObject; }
    QVariant readObject(quint64 index, QString* error);
    // The members of an array, or the keys and member objects of a dictionary, left unread.
    std::optional<QList<quint64>> arrayMembers(quint64 index, QString* error);
    std::optional<QList<std::pair<QString, quint64>>> dictionaryMembers(quint64 index,
                                                                        QString* error);

private:
    struct Collection
    {
        quint8 kind = 0;
        qsizetype position = 0;
        quint64 count = 0;
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
    std::optional<Collection> collectionAt(quint64 index, quint8 kind);
    quint64 referenceAt(qsizetype position, quint64 i) const;
    bool reportError(QString* error) const;
    QVariant fail(const QString& reason);

    QByteArrayView m_data;
    BinaryPropertyListTrailer m_trailer;
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
