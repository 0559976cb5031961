#pragma once

#include "SerializedVariant.h"

#include <QByteArray>
#include <QStringList>

#include <optional>

// A hash table of a GVDB file ("GVariant database", the file format GLib's resource bundles and
// the Flatpak permission and document stores keep): a header (signature, version, options, the
// root table's place), then tables of items each naming a GVariant value, a nested table or a
// list. A table is read in place from the file's bytes: every offset is checked against the
// file, so damaged or hostile files read as missing items, never past their end.
class GvdbReader
{
public:
    // The file's root table, or nothing when the bytes are no GVDB file.
    static std::optional<GvdbReader> open(const QByteArray& file, QString* error = nullptr);

    // The full keys of the table's items, in the file's order. A key's text is its parent items'
    // texts and its own; a damaged parent chain leaves the item out.
    QStringList keys() const;
    // The value item of that key ('v'), or an invalid variant.
    SerializedVariant value(const QString& key) const;
    // The nested table of that key ('H').
    std::optional<GvdbReader> table(const QString& key) const;

private:
    struct Item
    {
        quint32 hash = 0;
        quint32 parent = 0;
        quint32 keyStart = 0;
        quint16 keySize = 0;
        char type = 0;
        quint32 valueStart = 0;
        quint32 valueEnd = 0;
    };

    GvdbReader(QByteArray file, bool bigEndian)
        : file_(std::move(file))
        , bigEndian_(bigEndian)
    {}
    bool readTable(quint32 start, quint32 end);
    quint32 u32(qsizetype at) const;
    Item item(quint32 index) const;
    // The item's full key; nothing when its parent chain leaves the file or runs in a circle.
    std::optional<QByteArray> fullKey(quint32 index) const;
    std::optional<Item> find(const QString& key) const;

    QByteArray file_;
    bool bigEndian_ = false;
    // Where the table's buckets and items start, and their counts.
    qsizetype buckets_ = 0;
    quint32 bucketCount_ = 0;
    qsizetype items_ = 0;
    quint32 itemCount_ = 0;
};
