#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

// The bookmark data of a record file's items, in the items' order, before any is resolved.
struct RecordBookmarks
{
    enum class Items
    {
        // No list of items (a damaged record, or one that lists nothing).
        NotListed,
        Empty,
        Listed
    };
    Items items = Items::NotListed;
    QList<QByteArray> bookmarks;
    // The damage that ended the reading, if any; the bookmarks read before it are kept.
    QString error;

    bool operator==(const RecordBookmarks&) const = default;

    // Reads the record's bytes: in place when it is a binary archive in the usual shape, through
    // KeyedArchive otherwise.
    static RecordBookmarks read(QByteArrayView bytes);
    // The walk in place; none for a record it leaves to readThroughArchive(), which says what
    // a damaged one is missing. What it does return, readThroughArchive() returns too.
    static std::optional<RecordBookmarks> readInPlace(QByteArrayView bytes);
    static RecordBookmarks readThroughArchive(QByteArrayView bytes);
};
