#include "IndentedJsonWriter.h"

#include <algorithm>
#include <utility>

namespace {
char hexDigit(uint value)
{
    return char(value < 10 ? '0' + value : 'a' + value - 10);
}

void appendUtf8(QByteArray& out, char32_t c)
{
    if (c < 0x800) {
        out += char(0xc0 | (c >> 6));
    } else if (c < 0x10000) {
        out += char(0xe0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3f));
    } else {
        out += char(0xf0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3f));
        out += char(0x80 | ((c >> 6) & 0x3f));
    }
    out += char(0x80 | (c & 0x3f));
}

// What the text gathers before a sink receives it.
constexpr qsizetype pieceSize = 64 * 1024;
} // namespace

IndentedJsonWriter::IndentedJsonWriter(Sink sink)
    : m_sink(std::move(sink))
{
    m_out.reserve(pieceSize + pieceSize / 4);
}

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
    const qsizetype spaces = m_levels.size() * 4;
    char* out = extend(spaces + 2);
    *out++ = '\n';
    out = std::fill_n(out, spaces, ' ');
    *out = closing;
    handOverIfFull();
}

char* IndentedJsonWriter::extend(qsizetype count)
{
    const qsizetype size = m_out.size();
    m_out.resize(size + count);
    return m_out.data() + size;
}

void IndentedJsonWriter::handOverIfFull()
{
    if (!m_sink || m_out.size() < pieceSize)
        return;
    m_sink(m_out);
    // Keeps its capacity for the next piece.
    m_out.resize(0);
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

void IndentedJsonWriter::member(QLatin1StringView key,
                                const std::function<void(QByteArray&)>& writePlainValue)
{
    writeKey(key);
    m_out += '"';
    writePlainValue(m_out);
    m_out += '"';
}

QByteArray IndentedJsonWriter::take()
{
    m_out += '\n';
    if (!m_sink)
        return std::exchange(m_out, {});
    m_sink(m_out);
    m_out.clear();
    return {};
}

void IndentedJsonWriter::beginItem()
{
    if (m_levels.isEmpty())
        return;
    Level& level = m_levels.last();
    const qsizetype spaces = m_levels.size() * 4;
    char* out = extend(spaces + (level.hasItems ? 2 : 1));
    if (level.hasItems)
        *out++ = ',';
    level.hasItems = true;
    *out++ = '\n';
    std::fill_n(out, spaces, ' ');
}

void IndentedJsonWriter::writeKey(QLatin1StringView key)
{
    beginItem();
    char* out = extend(key.size() + 4);
    *out++ = '"';
    out = std::copy_n(key.data(), key.size(), out);
    std::copy_n("\": ", 3, out);
}

void IndentedJsonWriter::open(char opening, char closing)
{
    m_out += opening;
    m_levels.append({closing, false});
}

void IndentedJsonWriter::writeString(QStringView text)
{
    m_out += '"';
    const char16_t* p = text.utf16();
    const char16_t* end = p + text.size();
    // Most names and paths are ASCII that needs no escape: copied as it is, up to the first
    // character that is not.
    const qsizetype start = m_out.size();
    m_out.resize(start + text.size());
    char* copy = m_out.data() + start;
    while (p < end && *p < 0x80 && *p >= 0x20 && *p != u'"' && *p != u'\\')
        *copy++ = char(*p++);
    m_out.resize(copy - m_out.constData());
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
            appendUtf8(m_out, pair ? QChar::surrogateToUcs4(c, p[1]) : char32_t(c));
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
