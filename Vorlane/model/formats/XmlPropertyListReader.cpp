#include "XmlPropertyListReader.h"

#include <QDateTime>

namespace {
// Deeper nesting than this is no record of ours and would only exhaust the stack.
constexpr int maximumXmlDepth = 512;
} // namespace

XmlPropertyListReader::XmlPropertyListReader(QByteArrayView data)
    : m_xml(data.toByteArray())
{}

QVariant XmlPropertyListReader::fail(const QString& reason)
{
    if (m_error.isEmpty())
        m_error = reason;
    return {};
}

// Moves to the next child element of the current element; false at its end tag.
bool XmlPropertyListReader::nextChildElement()
{
    while (!m_xml.atEnd()) {
        const QXmlStreamReader::TokenType token = m_xml.readNext();
        if (token == QXmlStreamReader::StartElement)
            return true;
        if (token == QXmlStreamReader::EndElement)
            return false;
    }
    return false;
}

std::optional<QVariant> XmlPropertyListReader::read(QString* error)
{
    QVariant root;
    if (!m_xml.readNextStartElement()) {
        fail(QStringLiteral("The data isn't an XML property list."));
    } else if (m_xml.name() == u"plist") {
        if (nextChildElement())
            root = readValue(0);
        else
            fail(QStringLiteral("The property list is empty."));
    } else {
        root = readValue(0);
    }
    if (m_error.isEmpty() && m_xml.hasError())
        fail(m_xml.errorString());
    if (!m_error.isEmpty()) {
        if (error)
            *error = m_error;
        return std::nullopt;
    }
    return root;
}

QVariant XmlPropertyListReader::readValue(int depth)
{
    if (depth > maximumXmlDepth)
        return fail(QStringLiteral("The property list is nested too deeply."));
    const QStringView name = m_xml.name();
    if (name == u"dict")
        return readDictionary(depth);
    if (name == u"array")
        return readArray(depth);
    return readScalar();
}

QVariant XmlPropertyListReader::readDictionary(int depth)
{
    QVariantMap map;
    while (m_error.isEmpty() && nextChildElement()) {
        if (m_xml.name() != u"key")
            return fail(QStringLiteral("A property-list dictionary holds a value without a key."));
        const QString key = m_xml.readElementText();
        if (!nextChildElement())
            return fail(QStringLiteral("A property-list dictionary key has no value."));
        map.insert(key, readValue(depth + 1));
    }
    return map;
}

QVariant XmlPropertyListReader::readArray(int depth)
{
    QVariantList list;
    while (m_error.isEmpty() && nextChildElement())
        list.append(readValue(depth + 1));
    return list;
}

QVariant XmlPropertyListReader::readScalar()
{
    const QString name = m_xml.name().toString();
    const QString text = m_xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
    if (m_xml.hasError())
        return fail(m_xml.errorString());
    if (name == u"string" || name == u"key")
        return text;
    if (name == u"true" || name == u"false")
        return name == u"true";
    if (name == u"integer") {
        bool ok = false;
        const qint64 value = text.trimmed().toLongLong(&ok);
        if (ok)
            return value;
        const quint64 large = text.trimmed().toULongLong(&ok);
        return ok ? QVariant(static_cast<qint64>(large)) : fail(QStringLiteral("Bad integer."));
    }
    if (name == u"real") {
        bool ok = false;
        const double value = text.trimmed().toDouble(&ok);
        return ok ? QVariant(value) : fail(QStringLiteral("Bad real number."));
    }
    if (name == u"data") {
        QByteArray encoded = text.toLatin1();
        encoded.removeIf([](char c) { return c == ' ' || c == '\n' || c == '\t' || c == '\r'; });
        // One data character past a multiple of four cannot encode a whole byte.
        const qsizetype padding = encoded.indexOf('=');
        const qsizetype dataCharacters = padding < 0 ? encoded.size() : padding;
        const auto decoded =
            QByteArray::fromBase64Encoding(encoded, QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded || dataCharacters % 4 == 1)
            return fail(QStringLiteral("Invalid base64-encoded data."));
        return *decoded;
    }
    if (name == u"date") {
        const QDateTime date = QDateTime::fromString(text.trimmed(), Qt::ISODate);
        return date.isValid() ? QVariant(date.toUTC()) : fail(QStringLiteral("Bad date."));
    }
    return fail(QStringLiteral("The property list holds an unknown element <%1>.").arg(name));
}
