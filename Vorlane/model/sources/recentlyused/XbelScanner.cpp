#include "XbelScanner.h"

#include "QuickHash.h"
#include "XbelBuilder.h"

#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <unordered_map>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// What each byte may be in names and white space, looked up rather than compared: names and
// indentation make up much of a document.
enum ByteKind : quint8
{
    nameStart = 1,
    nameChar = 2,
    space = 4,
};

constexpr std::array<quint8, 256> byteKinds = [] {
    std::array<quint8, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const bool start = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
        const bool inside = start || (c >= '0' && c <= '9') || c == '-' || c == '.';
        const bool blank = c == ' ' || c == '\n' || c == '\t' || c == '\r';
        table[c] = quint8((start ? nameStart : 0) | (inside ? nameChar : 0) | (blank ? space : 0));
    }
    return table;
}();

bool isSpace(char c)
{
    return byteKinds[uchar(c)] & space;
}

bool isNameStart(char c)
{
    return byteKinds[uchar(c)] & nameStart;
}

bool isNameChar(char c)
{
    return byteKinds[uchar(c)] & nameChar;
}

// Equal bytes; most names and values differ in length, which is compared first.
bool sameBytes(QByteArrayView a, QByteArrayView b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), size_t(a.size())) == 0;
}

bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The whole document is UTF-8 made only of characters XML allows.
bool isValidText(const uchar* p, const uchar* end)
{
    const auto continuation = [&](int count) {
        if (end - p <= count)
            return false;
        for (int i = 1; i <= count; ++i)
            if ((p[i] & 0xC0) != 0x80)
                return false;
        return true;
    };
    while (p < end) {
#if defined(__SSE2__)
        // Sixteen ASCII characters at a time, printable or line ends and tabs: compared as
        // signed bytes, both non-ASCII bytes and control characters are below 0x20.
        if (end - p >= 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i low = _mm_cmplt_epi8(bytes, _mm_set1_epi8(0x20));
            const __m128i allowed =
                _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')),
                                          _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\t'))),
                             _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')));
            if (_mm_movemask_epi8(_mm_andnot_si128(allowed, low)) == 0) {
                p += 16;
                continue;
            }
        }
#endif
        // Eight printable ASCII characters at a time: no high bit set, no byte below 0x20.
        if (end - p >= 8) {
            quint64 word;
            std::memcpy(&word, p, 8);
            constexpr quint64 highBits = 0x8080808080808080ULL;
            constexpr quint64 below0x20 = 0x2020202020202020ULL;
            if (((word | ((word - below0x20) & ~word)) & highBits) == 0) {
                p += 8;
                continue;
            }
        }
        const uchar c = *p;
        if (c < 0x80) {
            if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
                return false;
            ++p;
        } else if (c >= 0xC2 && c <= 0xDF) {
            if (!continuation(1))
                return false;
            p += 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            if (!continuation(2))
                return false;
            if ((c == 0xE0 && p[1] < 0xA0) || (c == 0xED && p[1] > 0x9F))
                return false;
            // U+FFFE and U+FFFF are not characters.
            if (c == 0xEF && p[1] == 0xBF && (p[2] == 0xBE || p[2] == 0xBF))
                return false;
            p += 3;
        } else if (c >= 0xF0 && c <= 0xF4) {
            if (!continuation(3))
                return false;
            if ((c == 0xF0 && p[1] < 0x90) || (c == 0xF4 && p[1] > 0x8F))
                return false;
            p += 4;
        } else {
            return false;
        }
    }
    return true;
}

void appendUtf8(QByteArray& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Reads the reference at p ('&' ... ';'): one of the five predefined entities or a character
// reference. Advances p past it; false for anything else.
bool readReference(const char*& p, const char* end, char32_t* character)
{
    const char* semicolon = static_cast<const char*>(std::memchr(p, ';', size_t(end - p)));
    if (!semicolon)
        return false;
    const QByteArrayView name(p + 1, semicolon - p - 1);
    if (sameBytes(name, "lt"))
        *character = '<';
    else if (sameBytes(name, "gt"))
        *character = '>';
    else if (sameBytes(name, "amp"))
        *character = '&';
    else if (sameBytes(name, "quot"))
        *character = '"';
    else if (sameBytes(name, "apos"))
        *character = '\'';
    else if (name.size() >= 2 && name.size() <= 10 && name[0] == '#') {
        const bool hex = name[1] == 'x';
        const QByteArrayView digits = name.sliced(hex ? 2 : 1);
        if (digits.isEmpty())
            return false;
        char32_t value = 0;
        for (const char c : digits) {
            int digit = -1;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            if (digit < 0)
                return false;
            value = value * (hex ? 16 : 10) + char32_t(digit);
            if (value > 0x10FFFF)
                return false;
        }
        if (!isXmlChar(value))
            return false;
        *character = value;
    } else {
        return false;
    }
    p = semicolon + 1;
    return true;
}

// Attribute values and text, as XML hands them to the application: references replaced, line
// ends made '\n', and in attribute values every white-space character made a space.
QString decode(QByteArrayView raw, bool attribute)
{
    const char* p = raw.data();
    const char* end = p + raw.size();
    bool plain = true;
    for (const char* q = p; q < end && plain; ++q)
        plain = *q != '&' && *q != '\r' && (!attribute || (*q != '\n' && *q != '\t'));
    if (plain)
        return XbelAttributes::textOf(raw);

    QByteArray out;
    out.reserve(raw.size());
    while (p < end) {
        const char c = *p;
        if (c == '&') {
            char32_t character = 0;
            readReference(p, end, &character);
            appendUtf8(out, character);
            continue;
        }
        if (c == '\r') {
            out += attribute ? ' ' : '\n';
            p += (p + 1 < end && p[1] == '\n') ? 2 : 1;
            continue;
        }
        out += (attribute && (c == '\n' || c == '\t')) ? ' ' : c;
        ++p;
    }
    return XbelAttributes::textOf(out);
}

// A CDATA section's text: taken as written, but for its line ends.
QString cdataText(QByteArrayView raw)
{
    QString text = XbelAttributes::textOf(raw);
    if (text.contains(u'\r'))
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    return text;
}

struct RawAttribute
{
    QByteArrayView qualifiedName;
    QByteArrayView localName;
    QByteArrayView value;
};

// Values as decoded before, by their bytes in the document: names and exec lines repeat for
// every bookmark an application registered, and each is kept once. Not a QHash: Qt's hash of
// keys under 16 bytes (most names) costs over ten times that of longer ones on processors with
// 256-bit AES instructions, more than the rest of the look-up.
using RepeatedValues = std::unordered_map<std::string_view, QString, QuickHash::Bytes>;

std::string_view bytesOf(QByteArrayView view)
{
    return {view.data(), static_cast<std::size_t>(view.size())};
}

// Whether an attribute value reads the same decoded: ASCII without references or line ends.
bool isPlainAscii(QByteArrayView raw)
{
    for (const char c : raw)
        if ((c & 0x80) || c == '&' || c == '\r' || c == '\n' || c == '\t')
            return false;
    return true;
}

class ScannedAttributes final : public XbelAttributes
{
public:
    ScannedAttributes(const QVarLengthArray<RawAttribute, 16>& attributes,
                      RepeatedValues& repeatedValues)
        : m_attributes(attributes)
        , m_repeatedValues(repeatedValues)
    {}

    std::optional<QString> value(QLatin1StringView localName) const override
    {
        if (const RawAttribute* attribute = find(localName))
            return decode(attribute->value, true);
        return std::nullopt;
    }

    std::optional<QString> repeatedValue(QLatin1StringView localName) const override
    {
        const RawAttribute* attribute = find(localName);
        if (!attribute)
            return std::nullopt;
        const auto known = m_repeatedValues.find(bytesOf(attribute->value));
        if (known != m_repeatedValues.cend())
            return known->second;
        // A file of unrelated names does not grow the table without end.
        const QString decoded = decode(attribute->value, true);
        if (m_repeatedValues.size() < maximumRepeatedValues)
            m_repeatedValues.emplace(bytesOf(attribute->value), decoded);
        return decoded;
    }

    bool shortValue(QLatin1StringView localName, ShortValue& shortValue) const override
    {
        const RawAttribute* attribute = find(localName);
        if (!attribute)
            return false;
        const QByteArrayView raw = attribute->value;
        if (raw.size() > shortValue.capacity() || !isPlainAscii(raw))
            return XbelAttributes::shortValue(localName, shortValue);
        shortValue.resize(raw.size());
        std::copy(raw.begin(), raw.end(), shortValue.begin());
        return true;
    }

    std::optional<QLatin1StringView> plainValue(QLatin1StringView localName) const override
    {
        const RawAttribute* attribute = find(localName);
        if (!attribute || !isPlainAscii(attribute->value))
            return std::nullopt;
        return QLatin1StringView(attribute->value.data(), attribute->value.size());
    }

    std::optional<QByteArrayView> rawValue(QLatin1StringView localName) const override
    {
        if (const RawAttribute* attribute = find(localName))
            return attribute->value;
        return std::nullopt;
    }

private:
    static constexpr std::size_t maximumRepeatedValues = 4096;

    const RawAttribute* find(QLatin1StringView localName) const
    {
        for (const RawAttribute& attribute : m_attributes)
            if (QLatin1StringView(attribute.localName) == localName)
                return &attribute;
        return nullptr;
    }

    const QVarLengthArray<RawAttribute, 16>& m_attributes;
    RepeatedValues& m_repeatedValues;
};

XbelElement classify(QByteArrayView localName)
{
    switch (localName.size()) {
    case 4:
        if (localName == "xbel")
            return XbelElement::Xbel;
        break;
    case 5:
        if (localName == "title")
            return XbelElement::Title;
        break;
    case 6:
        if (localName == "folder")
            return XbelElement::Folder;
        break;
    case 7:
        if (localName == "private")
            return XbelElement::Private;
        break;
    case 8:
        if (localName == "bookmark")
            return XbelElement::Bookmark;
        if (localName == "metadata")
            return XbelElement::Metadata;
        break;
    case 11:
        if (localName == "application")
            return XbelElement::Application;
        break;
    case 12:
        if (localName == "applications")
            return XbelElement::Applications;
        break;
    default:
        break;
    }
    return XbelElement::Other;
}

class Scanner
{
public:
    Scanner(QByteArrayView document, XbelBuilder& builder)
        : m_p(document.data())
        , m_end(document.data() + document.size())
        , m_builder(builder)
    {}

    bool run()
    {
        if (remaining() >= 3 && std::memcmp(m_p, "\xEF\xBB\xBF", 3) == 0)
            m_p += 3;
        if (!isValidText(reinterpret_cast<const uchar*>(m_p),
                         reinterpret_cast<const uchar*>(m_end)))
            return false;
        if (startsWith("<?xml") && remaining() > 5 && isSpace(m_p[5]) && !readDeclaration())
            return false;
        bool doctypeSeen = false;
        while (m_p < m_end) {
            const char* lt = find('<');
            if (!lt) {
                // Only white space may follow the document element.
                return isBlank(m_p, m_end) && m_rootDone;
            }
            if (!readText(lt))
                return false;
            const char next = remaining() > 1 ? m_p[1] : '\0';
            if (next == '/') {
                if (!readEndTag())
                    return false;
            } else if (next == '!') {
                if (startsWith("<!--")) {
                    if (!readComment())
                        return false;
                } else if (startsWith("<!DOCTYPE")) {
                    if (doctypeSeen || m_rootSeen || !readDoctype())
                        return false;
                    doctypeSeen = true;
                } else if (startsWith("<![CDATA[")) {
                    if (!readCdata())
                        return false;
                } else {
                    return false;
                }
            } else if (next == '?') {
                if (!readProcessingInstruction())
                    return false;
            } else if (!readStartTag()) {
                return false;
            }
        }
        return m_rootDone;
    }

private:
    qsizetype remaining() const { return m_end - m_p; }
    template <size_t N>
    bool startsWith(const char (&text)[N]) const
    {
        return size_t(remaining()) >= N - 1 && std::memcmp(m_p, text, N - 1) == 0;
    }
    const char* find(char c) const
    {
        return static_cast<const char*>(std::memchr(m_p, c, size_t(remaining())));
    }
    const char* find(const char* text) const
    {
        const size_t length = std::strlen(text);
        for (const char* p = m_p; p + length <= m_end; ++p) {
            p = static_cast<const char*>(std::memchr(p, text[0], size_t(m_end - p)));
            if (!p || p + length > m_end)
                return nullptr;
            if (std::memcmp(p, text, length) == 0)
                return p;
        }
        return nullptr;
    }
    static bool isBlank(const char* p, const char* end)
    {
        for (; p < end; ++p)
            if (!isSpace(*p))
                return false;
        return true;
    }
    bool skipSpace()
    {
        const char* start = m_p;
        while (m_p < m_end && isSpace(*m_p))
            ++m_p;
        return m_p > start;
    }
    bool inRoot() const { return !m_open.isEmpty(); }

    void skipNameChars()
    {
        while (m_p < m_end && isNameChar(*m_p))
            ++m_p;
    }

    // A name with at most one colon, neither first nor last.
    bool readName(QByteArrayView* name, QByteArrayView* localName)
    {
        const char* start = m_p;
        if (m_p >= m_end || !isNameStart(*m_p))
            return false;
        skipNameChars();
        const char* colon = nullptr;
        if (m_p < m_end && *m_p == ':') {
            colon = m_p++;
            if (m_p >= m_end || !isNameStart(*m_p))
                return false;
            skipNameChars();
            if (m_p < m_end && *m_p == ':')
                return false;
        }
        *name = QByteArrayView(start, m_p - start);
        *localName = colon ? QByteArrayView(colon + 1, m_p - colon - 1) : *name;
        return true;
    }

    // Character data up to end: references must be well-formed, "]]>" may not appear, and
    // outside the document element only white space is allowed.
    bool readText(const char* end)
    {
        const char* start = m_p;
        m_p = end;
        if (start == end)
            return true;
        if (!inRoot())
            return isBlank(start, end);
        const QByteArrayView raw(start, end - start);
        // Most text between tags is the indentation before the next one.
        const char* p = start;
        while (p < end && isSpace(*p))
            ++p;
        if (p == end && !m_builder.wantsText())
            return true;
        while (p < end) {
            if (*p == '&') {
                char32_t character = 0;
                if (!readReference(p, end, &character))
                    return false;
                continue;
            }
            if (*p == ']' && end - p >= 3 && p[1] == ']' && p[2] == '>')
                return false;
            ++p;
        }
        if (m_builder.wantsText())
            m_builder.text(decode(raw, false));
        return true;
    }

    bool readComment()
    {
        m_p += 4;
        const char* dashes = find("--");
        if (!dashes || dashes + 2 >= m_end || dashes[2] != '>')
            return false;
        m_p = dashes + 3;
        return true;
    }

    bool readProcessingInstruction()
    {
        m_p += 2;
        QByteArrayView target;
        QByteArrayView local;
        if (!readName(&target, &local) || target != local ||
            target.compare("xml", Qt::CaseInsensitive) == 0)
            return false;
        if (startsWith("?>")) {
            m_p += 2;
            return true;
        }
        if (!skipSpace())
            return false;
        const char* close = find("?>");
        if (!close)
            return false;
        m_p = close + 2;
        return true;
    }

    bool readQuoted(QByteArrayView* value)
    {
        if (m_p >= m_end || (*m_p != '"' && *m_p != '\''))
            return false;
        const char quote = *m_p++;
        const char* close = find(quote);
        if (!close)
            return false;
        *value = QByteArrayView(m_p, close - m_p);
        m_p = close + 1;
        return true;
    }

    // <?xml version="1.0" encoding="UTF-8" standalone="yes"?>, in that order, each but the
    // version optional; only UTF-8 is read here.
    bool readDeclaration()
    {
        m_p += 5;
        int position = 0;
        while (true) {
            const bool spaced = skipSpace();
            if (startsWith("?>")) {
                m_p += 2;
                return position > 0;
            }
            QByteArrayView name;
            QByteArrayView local;
            if (!spaced || !readName(&name, &local))
                return false;
            skipSpace();
            if (m_p >= m_end || *m_p++ != '=')
                return false;
            skipSpace();
            QByteArrayView value;
            if (!readQuoted(&value))
                return false;
            if (name == "version" && position == 0) {
                if (value != "1.0")
                    return false;
                position = 1;
            } else if (name == "encoding" && position == 1) {
                if (value.compare("UTF-8", Qt::CaseInsensitive) != 0)
                    return false;
                position = 2;
            } else if (name == "standalone" && position >= 1 && position <= 2) {
                if (value != "yes" && value != "no")
                    return false;
                position = 3;
            } else {
                return false;
            }
        }
    }

    // <!DOCTYPE name [SYSTEM "uri" | PUBLIC "id" "uri"]>; an internal subset is left to the full
    // reader.
    bool readDoctype()
    {
        m_p += 9;
        QByteArrayView name;
        QByteArrayView local;
        if (!skipSpace() || !readName(&name, &local))
            return false;
        const bool spaced = skipSpace();
        int literals = 0;
        if (spaced && startsWith("SYSTEM")) {
            m_p += 6;
            literals = 1;
        } else if (spaced && startsWith("PUBLIC")) {
            m_p += 6;
            literals = 2;
        }
        for (int i = 0; i < literals; ++i) {
            QByteArrayView literal;
            if (!skipSpace() || !readQuoted(&literal))
                return false;
            // Public identifiers have their own alphabet; system identifiers are URIs. Anything
            // else is left to the full reader, which refuses some of it.
            const char* allowed =
                literals == 2 && i == 0 ? " \r\n-'()+,./:=?;!*#@$_%" : "-._~:/?#@!$'()*+,;=%";
            for (const char c : literal)
                if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      (c != '\0' && std::strchr(allowed, c))))
                    return false;
        }
        skipSpace();
        if (m_p >= m_end || *m_p != '>')
            return false;
        ++m_p;
        return true;
    }

    bool readCdata()
    {
        if (!inRoot())
            return false;
        m_p += 9;
        const char* close = find("]]>");
        if (!close)
            return false;
        if (m_builder.wantsText())
            m_builder.text(cdataText(QByteArrayView(m_p, close - m_p)));
        m_p = close + 3;
        return true;
    }

    bool readEndTag()
    {
        m_p += 2;
        QByteArrayView name;
        QByteArrayView local;
        if (!readName(&name, &local))
            return false;
        skipSpace();
        if (m_p >= m_end || *m_p != '>' || m_open.isEmpty() || !sameBytes(m_open.last(), name))
            return false;
        ++m_p;
        m_open.removeLast();
        m_builder.end(0);
        if (m_open.isEmpty())
            m_rootDone = true;
        return true;
    }

    bool readStartTag()
    {
        if (m_rootDone)
            return false;
        ++m_p;
        QByteArrayView name;
        QByteArrayView local;
        if (!readName(&name, &local))
            return false;
        m_attributes.clear();
        bool empty = false;
        while (true) {
            const bool spaced = skipSpace();
            if (m_p >= m_end)
                return false;
            if (*m_p == '>') {
                ++m_p;
                break;
            }
            if (*m_p == '/') {
                if (remaining() < 2 || m_p[1] != '>')
                    return false;
                m_p += 2;
                empty = true;
                break;
            }
            RawAttribute attribute;
            if (!spaced || !readName(&attribute.qualifiedName, &attribute.localName))
                return false;
            skipSpace();
            if (m_p >= m_end || *m_p++ != '=')
                return false;
            skipSpace();
            if (!readQuoted(&attribute.value) || !isValidAttributeValue(attribute.value))
                return false;
            for (const RawAttribute& earlier : m_attributes)
                if (sameBytes(earlier.qualifiedName, attribute.qualifiedName))
                    return false;
            m_attributes.append(attribute);
        }
        m_rootSeen = true;
        m_open.append(name);
        if (!m_builder.start(classify(local), ScannedAttributes(m_attributes, m_repeatedValues), 0))
            return false;
        if (empty)
            return readEmptyEnd();
        return true;
    }

    bool readEmptyEnd()
    {
        m_open.removeLast();
        m_builder.end(0);
        if (m_open.isEmpty())
            m_rootDone = true;
        return true;
    }

    static bool isValidAttributeValue(QByteArrayView value)
    {
        const char* p = value.data();
        const char* end = p + value.size();
        if (std::memchr(p, '<', size_t(value.size())))
            return false;
        while (const char* amp = static_cast<const char*>(std::memchr(p, '&', size_t(end - p)))) {
            char32_t character = 0;
            p = amp;
            if (!readReference(p, end, &character))
                return false;
        }
        return true;
    }

    const char* m_p;
    const char* m_end;
    XbelBuilder& m_builder;
    QVarLengthArray<QByteArrayView, 64> m_open;
    QVarLengthArray<RawAttribute, 16> m_attributes;
    RepeatedValues m_repeatedValues;
    bool m_rootSeen = false;
    bool m_rootDone = false;
};
} // namespace

bool XbelScanner::scan(QByteArrayView document, XbelBuilder& builder)
{
    return Scanner(document, builder).run();
}
