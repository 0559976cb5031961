#pragma once

#include <QByteArrayView>
#include <QMetaType>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <optional>

// An archived object of a class that has no plain Qt equivalent: its class name and its fields.
struct ArchivedObject
{
    QString className;
    QVariantMap fields;
};
Q_DECLARE_METATYPE(ArchivedObject)

// Decoder of keyed archives (property lists with "$archiver", "$top" and "$objects", objects
// referring to each other by UID). Collections, data, strings, numbers, dates, URLs and UUIDs
// become plain Qt values (see PropertyList); "$null" becomes a null QVariant; objects of other
// classes become ArchivedObject. A reference out of range, a reference cycle or a malformed
// collection is an error, never a crash.
class KeyedArchive
{
public:
    // Opens the archive in bytes (binary or XML property list); none, with the reason in error,
    // when the bytes are not a keyed archive.
    static std::optional<KeyedArchive> open(QByteArrayView bytes, QString* error);

    // Decodes the object stored under key in "$top" (the root object under "root"). A null
    // QVariant with an empty error means the key holds nothing.
    QVariant decodeTopLevelObject(const QString& key, QString* error) const;

private:
    KeyedArchive(QVariantList objects, QVariantMap top);

    QVariantList m_objects;
    QVariantMap m_top;
};
