#include "PickListReader.h"

#include <QFile>
#include <QHash>
#include <QMap>
#include <QStringDecoder>
#include <QXmlStreamReader>

namespace {
const QString& pickListPath()
{
    static const QString path = QStringLiteral(
        "/org.openoffice.Office.Histories/Histories/org.openoffice.Office.Histories:HistoryInfo["
        "'PickList']/");
    return path;
}

enum class ListPart
{
    none,
    items,
    order
};

ListPart partOf(QStringView itemPath)
{
    if (!itemPath.startsWith(pickListPath()))
        return ListPart::none;
    const QStringView rest = itemPath.mid(pickListPath().size());
    if (rest == u"ItemList")
        return ListPart::items;
    if (rest == u"OrderList")
        return ListPart::order;
    return ListPart::none;
}

QStringView attribute(const QXmlStreamReader& xml, QStringView name)
{
    for (const QXmlStreamAttribute& attribute : xml.attributes()) {
        if (attribute.qualifiedName() == name)
            return attribute.value();
    }
    return {};
}

class Collector
{
public:
    void readItem(QXmlStreamReader& xml, ListPart part)
    {
        // <item> holds nodes; each node holds props; each prop a value.
        while (xml.readNextStartElement()) {
            if (xml.name() != u"node") {
                xml.skipCurrentElement();
                continue;
            }
            const QString nodeName = attribute(xml, u"oor:name").toString();
            const bool removed = attribute(xml, u"oor:op") == u"remove";
            readNode(xml, part, nodeName, removed);
        }
    }

    QList<PickListReader::Item> result() const
    {
        QList<PickListReader::Item> ordered;
        QHash<QString, bool> placed;
        for (const QString& url : m_orderByPosition) {
            const auto found = m_positions.constFind(url);
            if (found == m_positions.constEnd() || placed.contains(url))
                continue;
            placed.insert(url, true);
            ordered.append(m_items.at(*found));
        }
        for (const PickListReader::Item& item : m_items) {
            if (!placed.contains(item.url) && !m_removed.contains(item.url))
                ordered.append(item);
        }
        return ordered;
    }

private:
    void readNode(QXmlStreamReader& xml, ListPart part, const QString& nodeName, bool removed)
    {
        PickListReader::Item* item = nullptr;
        if (part == ListPart::items && !nodeName.isEmpty()) {
            if (removed) {
                m_removed.insert(nodeName, true);
            } else {
                m_removed.remove(nodeName);
                item = &itemFor(nodeName);
            }
        }
        while (xml.readNextStartElement()) {
            if (xml.name() != u"prop") {
                xml.skipCurrentElement();
                continue;
            }
            const QString property = attribute(xml, u"oor:name").toString();
            const QString value = readValue(xml);
            if (item)
                apply(*item, property, value);
            else if (part == ListPart::order && property == u"HistoryItemRef" && !removed)
                setOrder(nodeName, value);
        }
    }

    static QString readValue(QXmlStreamReader& xml)
    {
        QString value;
        while (xml.readNextStartElement()) {
            if (xml.name() == u"value")
                value = xml.readElementText(QXmlStreamReader::SkipChildElements);
            else
                xml.skipCurrentElement();
        }
        return value;
    }

    static void apply(PickListReader::Item& item, const QString& property, const QString& value)
    {
        if (property == u"Filter")
            item.filter = value;
        else if (property == u"Title")
            item.title = value;
        else if (property == u"Pinned")
            item.pinned = value == u"true";
        else if (property == u"Thumbnail")
            item.thumbnail = value.toLatin1();
    }

    PickListReader::Item& itemFor(const QString& url)
    {
        const auto found = m_positions.constFind(url);
        if (found != m_positions.constEnd())
            return m_items[*found];
        m_positions.insert(url, m_items.size());
        m_items.append(PickListReader::Item{url, {}, {}, false, {}});
        return m_items.last();
    }

    void setOrder(const QString& nodeName, const QString& url)
    {
        bool isNumber = false;
        const int position = nodeName.toInt(&isNumber);
        if (isNumber && position >= 0 && !url.isEmpty())
            m_orderByPosition.insert(position, url);
    }

    QList<PickListReader::Item> m_items;
    QHash<QString, qsizetype> m_positions;
    QHash<QString, bool> m_removed;
    QMap<int, QString> m_orderByPosition;
};
} // namespace

QList<PickListReader::Item> PickListReader::read(QIODevice& device)
{
    // LibreOffice writes UTF-8. Decoded here, with a stand-in for every bad byte, because
    // QXmlStreamReader refuses a whole chunk of the file over one bad byte in it, dropping
    // the good documents before it.
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text;
    while (!device.atEnd() && text.size() < maximumFileSize) {
        const QByteArray chunk = device.read(1 << 16);
        if (chunk.isEmpty())
            break;
        text += decoder(chunk);
    }
    QXmlStreamReader xml(text);
    Collector collector;
    if (!xml.readNextStartElement())
        return {};
    // <oor:items> holds one <item> per changed setting.
    while (xml.readNextStartElement()) {
        const ListPart part =
            xml.name() == u"item" ? partOf(attribute(xml, u"oor:path")) : ListPart::none;
        if (part == ListPart::none)
            xml.skipCurrentElement();
        else
            collector.readItem(xml, part);
    }
    return collector.result();
}

QList<PickListReader::Item> PickListReader::readFile(const QString& path)
{
    QFile file(path);
    if (file.size() > maximumFileSize || !file.open(QIODevice::ReadOnly))
        return {};
    return read(file);
}
