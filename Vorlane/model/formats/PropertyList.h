#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QVariant>

#include <optional>

// A reference to another object in a keyed archive's object table.
struct PlistUid
{
    quint64 value = 0;
};
Q_DECLARE_METATYPE(PlistUid)

// Property lists, binary or XML, read by our own bounded readers, as Qt values: dictionaries become
// QVariantMap, arrays QVariantList, strings QString, data QByteArray, dates QDateTime (UTC),
// integers qint64, reals double, Booleans bool and archive references PlistUid.
class PropertyList
{
public:
    // Record files, preference files and archives are small; anything larger is refused unread.
    static constexpr qint64 maximumFileSize = 64 * 1024 * 1024;

    static std::optional<QVariant> parse(QByteArrayView bytes, QString* error = nullptr);
    static std::optional<QVariant> readFile(const QString& path, QString* error = nullptr);

    // A moment given as seconds since 2001-01-01 UTC, as property lists and archives store dates;
    // none for values no calendar can hold.
    static std::optional<QDateTime> dateFromReferenceSeconds(double seconds);

    // The reference an archive stores as a UID, or in XML as the dictionary {"CF$UID": n}.
    static std::optional<quint64> uidValue(const QVariant& value);
};
