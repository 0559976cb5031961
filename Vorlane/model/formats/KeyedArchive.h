#pragma once

#include <QAnyStringView>
#include <QByteArrayView>
#include <QHash>
#include <QMetaType>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <memory>
#include <optional>

class BinaryPropertyListReader;

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

    // Decodes the object stored under key in "$top" (the root object under "root") with
    // everything it refers to. A null QVariant with an empty error means the key holds nothing.
    QVariant decodeTopLevelObject(const QString& key, QString* error) const;

    // For readers that need only part of an archive: the reference stored under key in "$top",
    // and the one object a reference leads to, its collections' members left as references
    // (PlistUid) to resolve in turn. Dictionary keys are decoded; other values pass unchanged.
    QVariant topLevelReference(const QString& key) const;
    QVariant resolve(const QVariant& value, QString* error) const;

    // A class definition of the archive and what its instances decode as.
    struct ArchivedClass
    {
        enum class Kind
        {
            Dictionary,
            Collection,
            Data,
            String,
            Date,
            Null,
            Url,
            Uuid,
            Other
        };
        Kind kind = Kind::Other;
        QString name;
    };
    // What instances of the class of that name decode as; Other for classes without a plain
    // equivalent.
    static ArchivedClass::Kind kindOfClassNamed(QAnyStringView className);

    // The archive's object table: parsed up front for XML, read on demand for binary data.
    class Objects
    {
    public:
        qsizetype count() const;
        QVariant at(quint64 uid, QString* error) const;
        // The class defined at uid, worked out once; none when uid holds no class definition.
        std::optional<ArchivedClass> archivedClass(quint64 uid) const;

    private:
        friend class KeyedArchive;
        mutable QHash<quint64, ArchivedClass> m_classes;
        // What resolve() made of each object it reached, kept for the archive's lifetime.
        mutable QHash<quint64, QVariant> m_resolved;
        QVariantList m_list;
        std::shared_ptr<BinaryPropertyListReader> m_reader;
        QList<quint64> m_indices;
    };

private:
    KeyedArchive() = default;
    bool openBinary(QByteArrayView bytes, QString* error);
    static QString notAnArchive();

    QByteArray m_bytes;
    Objects m_objects;
    QVariantMap m_top;
};
