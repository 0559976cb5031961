#pragma once

#include <QByteArrayView>
#include <QString>
#include <QVariant>
#include <QXmlStreamReader>

#include <optional>

// Reader of XML property lists (<plist> with dict, array, key, string, data, date, integer, real,
// true and false). Archive references written as {"CF$UID": n} stay dictionaries; PropertyList
// recognises them.
class XmlPropertyListReader
{
public:
    explicit XmlPropertyListReader(QByteArrayView data);

    std::optional<QVariant> read(QString* error);

private:
    QVariant readValue(int depth);
    QVariant readDictionary(int depth);
    QVariant readArray(int depth);
    QVariant readScalar();
    QVariant fail(const QString& reason);
    bool nextChildElement();

    QXmlStreamReader m_xml;
    QString m_error;
};
