#include "IndentedJsonWriter.h"

#include <algorithm>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
char hexDigit(uint value)
{
    return char(value < 10 ? '0' + value : 'a' + value - 10);
}

char* writeUtf8(char* out, char32_t c)
{
    if (c < 0x800) {
        *out++ = char(0xc0 | (c >> 6));
    } else if (c < 0x10000) {
        *out++ = char(0xe0 | (c >> 12));
        *out++ = char(0x80 | ((c >> 6) & 0x3f));
    } else {
        *out++ = char(0xf0 | (c >> 18));
        *out++ = char(0x80 | ((c >> 12) & 0x3f));
        *out++ = char(0x80 | ((c >> 6) & 0x3f));
    }
    *out++ = char(0x80 | (c & 0x3f));
    return out;
}

char* writeUnicodeEscape(char* out, char16_t c)
{
    *out++ = '\\';
    *out++ = 'u';
    for (int shift = 12; shift >= 0; shift -= 4)
        *out++ = hexDigit((c >> shift) & 0xf);
    return out;
}

bool needsNoEscape(char16_t c)
{
    return c < 0x80 && c >= 0x20 && c != u'"' && c != u'\\';
}

// Copies the characters from p that are ASCII needing no escape (most of every name and
// path), up to the first that is not; returns where the copying stopped.
const char16_t* copyPlainAscii(const char16_t* p, const char16_t* end, char*& out)
{
#if defined(__SSE2__)
    // Eight characters at a time. Adding 0x8000 - 0x20 moves 0x20..0x7f to the bottom of the
    // signed range, where one comparison finds them.
    const __m128i shift = _mm_set1_epi16(short(0x8000 - 0x20));
    const __m128i limit = _mm_set1_epi16(short(0x8000 - 0x20 + 0x80));
    const __m128i quote = _mm_set1_epi16('"');
    const __m128i backslash = _mm_set1_epi16('\\');
    while (end - p >= 8) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i ascii = _mm_cmplt_epi16(_mm_add_epi16(chars, shift), limit);
        const __m128i special =
            _mm_or_si128(_mm_cmpeq_epi16(chars, quote), _mm_cmpeq_epi16(chars, backslash));
        if (_mm_movemask_epi8(_mm_andnot_si128(special, ascii)) != 0xffff)
            break;
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(chars, chars));
        p += 8;
        out += 8;
    }
#endif
    while (p < end && needsNoEscape(*p))
        *out++ = char(*p++);
    return p;
}

char* writeEscaped(char16_t c, char* out)
{
    switch (c) {
    case u'"':
        return std::copy_n("\\\"", 2, out);
    case u'\\':
        return std::copy_n("\\\\", 2, out);
    case u'\b':
        return std::copy_n("\\b", 2, out);
    case u'\f':
        return std::copy_n("\\f", 2, out);
    case u'\n':
        return std::copy_n("\\n", 2, out);
    case u'\r':
        return std::copy_n("\\r", 2, out);
    case u'\t':
        return std::copy_n("\\t", 2, out);
    default:
        if (c < 0x20)
            return writeUnicodeEscape(out, c);
        *out++ = char(c);
        return out;
    }
}

// What the text gathers before a sink receives it.
constexpr qsizetype pieceSize = 64 * 1024;
// The most bytes one UTF-16 unit of a string can take written: an escape, \uXXXX.
constexpr qsizetype maximumBytesPerUnit = 6;
} // namespace

IndentedJsonWriter::IndentedJsonWriter()
{
    grow(pieceSize);
}

IndentedJsonWriter::IndentedJsonWriter(Sink sink)
    : m_sink(std::move(sink))
{
    grow(pieceSize + pieceSize / 4);
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
    char* out = reserve(spaces + 2);
    *out++ = '\n';
    out = std::fill_n(out, spaces, ' ');
    *out++ = closing;
    commit(out);
    handOverIfFull();
}

void IndentedJsonWriter::grow(qsizetype count)
{
    m_out.resize(std::max(m_capacity * 2, m_size + count));
    m_data = m_out.data();
    m_capacity = m_out.size();
}

void IndentedJsonWriter::handOverIfFull()
{
    if (!m_sink || m_size < pieceSize)
        return;
    m_sink(QByteArrayView(m_data, m_size));
    // Keeps the room for the next piece.
    m_size = 0;
}

void IndentedJsonWriter::member(QLatin1StringView key, QStringView value)
{
    writeKey(key);
    writeString(value);
}

void IndentedJsonWriter::member(QLatin1StringView key, bool value)
{
    writeKey(key);
    const QByteArrayView text = value ? "true" : "false";
    commit(std::copy_n(text.data(), text.size(), reserve(text.size())));
}

void IndentedJsonWriter::member(QLatin1StringView key, qint64 value)
{
    writeKey(key);
    char digits[24];
    char* first = std::end(digits);
    quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    do {
        *--first = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--first = '-';
    const qsizetype length = std::end(digits) - first;
    commit(std::copy_n(first, length, reserve(length)));
}

void IndentedJsonWriter::plainMember(QLatin1StringView key, QByteArrayView plainValue)
{
    writeKey(key);
    char* out = reserve(plainValue.size() + 2);
    *out++ = '"';
    out = std::copy_n(plainValue.data(), plainValue.size(), out);
    *out++ = '"';
    commit(out);
}

QByteArray IndentedJsonWriter::take()
{
    char* out = reserve(1);
    *out++ = '\n';
    commit(out);
    m_out.resize(m_size);
    m_data = nullptr;
    m_capacity = 0;
    m_size = 0;
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
    char* out = reserve(spaces + 2);
    if (level.hasItems)
        *out++ = ',';
    level.hasItems = true;
    *out++ = '\n';
    commit(std::fill_n(out, spaces, ' '));
}

void IndentedJsonWriter::writeKey(QLatin1StringView key)
{
    beginItem();
    char* out = reserve(key.size() + 4);
    *out++ = '"';
    out = std::copy_n(key.data(), key.size(), out);
    commit(std::copy_n("\": ", 3, out));
}

void IndentedJsonWriter::open(char opening, char closing)
{
    char* out = reserve(1);
    *out++ = opening;
    commit(out);
    m_levels.append({closing, false});
}

void IndentedJsonWriter::writeString(QStringView text)
{
    char* out = reserve(text.size() * maximumBytesPerUnit + 2);
    *out++ = '"';
    const char16_t* p = text.utf16();
    const char16_t* end = p + text.size();
    while ((p = copyPlainAscii(p, end, out)) < end) {
        const char16_t c = *p;
        if (c < 0x80) {
            out = writeEscaped(c, out);
            ++p;
            continue;
        }
        // Characters as UTF-8; a lone surrogate, which has none, as an escape.
        const bool pair = QChar::isHighSurrogate(c) && p + 1 < end && QChar::isLowSurrogate(p[1]);
        if (QChar::isSurrogate(c) && !pair) {
            out = writeUnicodeEscape(out, c);
            ++p;
            continue;
        }
        out = writeUtf8(out, pair ? QChar::surrogateToUcs4(c, p[1]) : char32_t(c));
        p += pair ? 2 : 1;
    }
    *out++ = '"';
    commit(out);
}
