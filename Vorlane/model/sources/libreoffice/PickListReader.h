#pragma once

#include <QIODevice>
#include <QList>
#include <QString>

// LibreOffice's list of recent documents (its "PickList"), kept among every other setting of the
// user's profile in registrymodifications.xcu: a node per document under
// .../HistoryInfo['PickList']/ItemList (its URL as node name; Filter, Title, Pinned, Thumbnail
// and more as properties, often each in an item of its own), and its order under .../OrderList
// (nodes "0", "1", ... whose HistoryItemRef names a document, newest first).
//
// The file is megabytes of settings: it is parsed as a stream of tokens, never as a tree, and only
// the PickList is kept. Damaged text costs what follows the fault, bad bytes only themselves;
// nothing here throws.
class PickListReader
{
public:
    struct Item
    {
        QString url;
        // The import filter LibreOffice opened the document with ("writer8", "calc8",
        // "MS Word 2007 XML", ...).
        QString filter;
        QString title;
        bool pinned = false;
        // The base64 PNG LibreOffice keeps of the document's first page; may be empty.
        QByteArray thumbnail;

        friend bool operator==(const Item&, const Item&) = default;
    };

    // Larger profiles are refused.
    static constexpr qint64 maximumFileSize = 256 * 1024 * 1024;

    // The items in the list's order; items the order does not name come after, as found.
    static QList<Item> read(QIODevice& device);
    static QList<Item> readFile(const QString& path);
};
