#pragma once

#include "PlistWriter.h"

#include <QByteArray>
#include <QVariant>
#include <QVariantList>

// Writes keyed archives as the system's archiver does: "$archiver", "$version", "$top" with the
// root's UID, and "$objects" beginning with "$null". Maps become NSDictionary, lists NSArray,
// dates NSDate; strings, data and numbers are stored inline, null as "$null".
class ArchiveWriter
{
public:
    // Data is stored raw, or wrapped in NSMutableData objects ({"NS.data": ...}) as some lists do.
    enum class DataStyle
    {
        Raw,
        MutableDataObject
    };

    static QByteArray write(const QVariant& root,
                            PlistWriter::Format format = PlistWriter::Format::Binary,
                            DataStyle dataStyle = DataStyle::Raw);

    // A record file: a root dictionary whose "items" hold one dictionary per bookmark.
    static QByteArray recordFile(const QList<QByteArray>& bookmarks,
                                 PlistWriter::Format format = PlistWriter::Format::Binary);

    // An archive with the given object table and root UID, for hand-made damaged archives.
    static QByteArray rawArchive(const QVariantList& objects, const QVariant& rootReference);
};
