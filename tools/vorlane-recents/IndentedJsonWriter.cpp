#include "IndentedJsonWriter.h"

#include <algorithm>

namespace {
char hexDigit(uint value)
{
    return char(value < 10 ? '0' + value : 'a' + value - 10);
}
} // namespace

void IndentedJsonWriter::beginObject()
{
    beginItem();
    open('{', '}');
}

void IndentedJsonWriter::beginObject(QLatin1StringView key)
{
    writeKey(key);
    open('{', '}');
}

void IndentedJsonWriter::beginArray(QLatin1StringView key)
{
    writeKey(key);
    open('[', ']');
}

void IndentedJsonWriter::end()
{
    const char closing = m_levels.last().closing;
    m_levels.removeLast();
    // An empty one closes on the next line too.
    m_out += '\n';
    indent(m_levels.size());
    m_out += closing;
}

void IndentedJsonWriter::member(QLatin1StringView key, const QString& value)
{
    writeKey(key);
    writeString(value);
}

void IndentedJsonWriter::member(QLatin1StringView key, bool value)
{
    writeKey(key);
    m_out += value ? "true" : "false";
}

void IndentedJsonWriter::member(QLatin1StringView key, qint64 value)
{
    writeKey(key);
    m_out += QByteArray::number(value);
}

QByteArray IndentedJsonWriter::take()
{
    m_out += '\n';
    return std::exchange(m_out, {});
}

void IndentedJsonWriter::beginItem()
{
    if (m_levels.isEmpty())
        return;
    Level& level = m_levels.last();
    if (level.hasItems)
        m_out += ',';
    level.hasItems = true;
    m_out += '\n';
    indent(m_levels.size());
}

void IndentedJsonWriter::writeKey(QLatin1StringView key)
{
    beginItem();
    m_out += '"';
    m_out += QByteArrayView(key.data(), key.size());
    m_out += "\": ";
}

void IndentedJsonWriter::open(char opening, char closing)
{
    m_out += opening;
    m_levels.append({closing, false});
}

void IndentedJsonWriter::indent(qsizetype depth)
{
    m_out.append(depth * 4, ' ');
}

void IndentedJsonWriter::writeString(QStringView text)
{
    m_out += '"';
    // Most names and paths need no escape: converted in one go.
    const bool plain = std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() >= 0x20 && c != u'"' && c != u'\\' && !c.isSurrogate();
    });
    if (plain) {
        m_out += text.toUtf8();
        m_out += '"';
        return;
    }
    const char16_t* p = text.utf16();
    const char16_t* end = p + text.size();
    while (p < end) {
        const char16_t c = *p;
        if (c >= 0x80) {
            // Characters as UTF-8; a lone surrogate, which has none, as an escape.
            const bool pair =
                QChar::isHighSurrogate(c) && p + 1 < end && QChar::isLowSurrogate(p[1]);
            if (QChar::isSurrogate(c) && !pair) {
                m_out += "\\u";
                for (int shift = 12; shift >= 0; shift -= 4)
                    m_out += hexDigit((c >> shift) & 0xf);
                ++p;
                continue;
            }
            m_out += QStringView(p, pair ? 2 : 1).toUtf8();
            p += pair ? 2 : 1;
            continue;
        }
        switch (c) {
        case u'"':
            m_out += "\\\"";
            break;
        case u'\\':
            m_out += "\\\\";
            break;
        case u'\b':
            m_out += "\\b";
            break;
        case u'\f':
            m_out += "\\f";
            break;
        case u'\n':
            m_out += "\\n";
            break;
        case u'\r':
            m_out += "\\r";
            break;
        case u'\t':
            m_out += "\\t";
            break;
        default:
            if (c < 0x20) {
                m_out += "\\u00";
                m_out += hexDigit(c >> 4);
                m_out += hexDigit(c & 0xf);
            } else {
                m_out += char(c);
            }
        }
        ++p;
    }
    m_out += '"';
}
