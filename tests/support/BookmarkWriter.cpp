#include "BookmarkWriter.h"

#include <QHash>
#include <QMap>
#include <QtEndian>

namespace {
class DataArea
{
public:
    DataArea() { appendWord(0); } // the first table's offset, filled in later

    quint32 addRecord(quint32 type, const QByteArray& payload)
    {
        const quint32 offset = static_cast<quint32>(m_bytes.size());
        appendWord(static_cast<quint32>(payload.size()));
        appendWord(type);
        m_bytes += payload;
        while (m_bytes.size() % 4)
            m_bytes += '\0';
        return offset;
    }

    quint32 addString(const QString& text, quint32 type = 0x0101)
    {
        return addRecord(type, text.toUtf8());
    }

    quint32 addInteger(qint64 value)
    {
        QByteArray payload(8, '\0');
        qToLittleEndian(value, payload.data());
        return addRecord(0x0304, payload);
    }

    quint32 addArray(const QList<quint32>& offsets)
    {
        QByteArray payload;
        for (quint32 offset : offsets)
            payload += word(offset);
        return addRecord(0x0601, payload);
    }

    quint32 addTable(quint32 identifier, const QMap<quint32, quint32>& entries)
    {
        const quint32 offset = static_cast<quint32>(m_bytes.size());
        appendWord(static_cast<quint32>(12 + entries.size() * 12));
        appendWord(0xfffffffe);
        appendWord(identifier);
        appendWord(0); // next table
        appendWord(static_cast<quint32>(entries.size()));
        for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
            appendWord(it.key());
            appendWord(it.value());
            appendWord(0);
        }
        return offset;
    }

    void setWord(quint32 offset, quint32 value) { qToLittleEndian(value, m_bytes.data() + offset); }
    const QByteArray& bytes() const { return m_bytes; }

private:
    static QByteArray word(quint32 value)
    {
        QByteArray bytes(4, '\0');
        qToLittleEndian(value, bytes.data());
        return bytes;
    }
    void appendWord(quint32 value) { m_bytes += word(value); }

    QByteArray m_bytes;
};
} // namespace

QByteArray BookmarkWriter::write(const Contents& contents)
{
    DataArea area;
    QMap<quint32, quint32> entries;
    if (contents.hasPath) {
        QList<quint32> components;
        QHash<QString, quint32> written;
        for (const QString& component : contents.pathComponents) {
            if (!contents.shareEqualComponents)
                components << area.addString(component);
            else if (const auto known = written.constFind(component); known != written.constEnd())
                components << *known;
            else
                components << written.insert(component, area.addString(component)).value();
        }
        entries.insert(0x1004, area.addArray(components));
    }
    if (!contents.targetUrl.isEmpty())
        entries.insert(0x1003, area.addString(contents.targetUrl, 0x0901));
    entries.insert(0x2002, area.addString(contents.volumePath));
    entries.insert(0x2005, area.addString(contents.volumeUrl, 0x0901));
    entries.insert(0x2010, area.addString(contents.volumeName));
    if (contents.homeComponentCount)
        entries.insert(0xc001, area.addInteger(*contents.homeComponentCount));
    if (!contents.displayName.isEmpty())
        entries.insert(0xf017, area.addString(contents.displayName));
    entries.insert(0xd010, area.addInteger(512));

    const quint32 firstTable = area.addTable(1, entries);
    area.setWord(0, firstTable);
    if (contents.secondTableOfContents) {
        const quint32 second = area.addTable(2, {{0x2002, entries.value(0x2002)}});
        area.setWord(firstTable + 12, second);
    }

    QByteArray bookmark(headerSize, '\0');
    bookmark.replace(0, 4, "book");
    qToLittleEndian<quint32>(static_cast<quint32>(headerSize + area.bytes().size()),
                             bookmark.data() + 4);
    qToLittleEndian<quint32>(0x10040000, bookmark.data() + 8);
    qToLittleEndian<quint32>(headerSize, bookmark.data() + 12);
    return bookmark + area.bytes();
}

QByteArray BookmarkWriter::forPath(const QString& absolutePath, const QString& homeDirectory)
{
    Contents contents;
    contents.pathComponents = absolutePath.split(u'/', Qt::SkipEmptyParts);
    contents.displayName = contents.pathComponents.value(contents.pathComponents.size() - 1);
    if (!homeDirectory.isEmpty() && absolutePath.startsWith(homeDirectory + u'/'))
        contents.homeComponentCount =
            static_cast<int>(homeDirectory.split(u'/', Qt::SkipEmptyParts).size());
    return write(contents);
}
