#include "RecentlyUsedFile.h"

#include "CivilDate.h"
#include "FileContents.h"
#include "RecentlyUsedEditor.h"
#include "RecentlyUsedReader.h"
#include "XbelBuilder.h"

#include <QDir>
#include <QFile>
#include <QVarLengthArray>

namespace {
// Reads the fields of a date from text: QStringView, or QLatin1StringView for attribute
// values read as they are.
template <typename View>
class Digits
{
public:
    explicit Digits(View text)
        : m_text(text)
    {}

    bool atEnd() const { return m_position >= m_text.size(); }
    char16_t peek() const { return atEnd() ? u'\0' : char16_t(m_text[m_position].unicode()); }
    bool skip(char16_t c)
    {
        if (peek() != c)
            return false;
        ++m_position;
        return true;
    }
    // Exactly count decimal digits; -1 when they are not there.
    int number(int count)
    {
        int value = 0;
        for (int i = 0; i < count; ++i) {
            const char16_t c = peek();
            if (c < u'0' || c > u'9')
                return -1;
            value = value * 10 + (c - u'0');
            ++m_position;
        }
        return value;
    }
    // The milliseconds of a fraction of any length; -1 when there are no digits.
    int fractionMilliseconds()
    {
        int value = 0;
        int digits = 0;
        while (peek() >= u'0' && peek() <= u'9') {
            if (digits < 3)
                value = value * 10 + (peek() - u'0');
            ++digits;
            ++m_position;
        }
        if (digits == 0)
            return -1;
        for (int i = digits; i < 3; ++i)
            value *= 10;
        return value;
    }

private:
    View m_text;
    qsizetype m_position = 0;
};

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}
} // namespace

QDateTime RecentlyUsedFile::Bookmark::lastUsed() const
{
    QDateTime newest;
    for (const Application& application : applications)
        if (application.modified.isValid() && (!newest.isValid() || application.modified > newest))
            newest = application.modified;
    return newest.isValid() ? newest : modified;
}

RecentlyUsedFile RecentlyUsedFile::load(const QString& path)
{
    RecentlyUsedFile file;
    // The file may grow while it is read; never past the limit.
    const FileContents contents = FileContents::read(path, maximumFileSize);
    switch (contents.outcome) {
    case FileContents::Outcome::Read:
        file = parse(contents.bytes);
        break;
    case FileContents::Outcome::Missing:
        file.m_errorString = QStringLiteral("No such file");
        break;
    case FileContents::Outcome::NotRegularFile:
        // A FIFO or device put in its place would block or never end.
        file.m_errorString = QStringLiteral("Not a regular file");
        break;
    case FileContents::Outcome::TooLarge:
        file.m_errorString = QStringLiteral("File too large");
        break;
    case FileContents::Outcome::Unreadable:
        file.m_errorString = contents.errorString;
        break;
    }
    file.m_path = path;
    return file;
}

RecentlyUsedFile RecentlyUsedFile::parse(QByteArrayView bytes)
{
    if (bytes.size() > maximumFileSize) {
        RecentlyUsedFile file;
        file.m_errorString = QStringLiteral("File too large");
        return file;
    }
    return RecentlyUsedReader::read(bytes);
}

namespace {
template <typename View>
QDateTime parseTimestampIn(View text)
{
    Digits<View> in(text.trimmed());
    const int year = in.number(4);
    const bool extendedDate = in.skip(u'-');
    const int month = in.number(2);
    if (extendedDate && !in.skip(u'-'))
        return {};
    const int day = in.number(2);
    if (year < 0 || month < 0 || day < 0)
        return {};
    if (!in.skip(u'T') && !in.skip(u't') && !in.skip(u' '))
        return {};
    const int hour = in.number(2);
    const bool extendedTime = in.skip(u':');
    const int minute = in.number(2);
    if (extendedTime && !in.skip(u':'))
        return {};
    int second = in.number(2);
    if (hour < 0 || minute < 0 || second < 0 || hour > 23 || minute > 59 || second > 60)
        return {};
    // A leap second is read as the last second of its minute.
    second = qMin(second, 59);
    int milliseconds = 0;
    if (in.skip(u'.') || in.skip(u',')) {
        milliseconds = in.fractionMilliseconds();
        if (milliseconds < 0)
            return {};
    }
    // Valid as QDate judges it: there is no year 0.
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > CivilDate::daysInMonth(year, month))
        return {};

    if (in.atEnd())
        return QDateTime(QDate(year, month, day), QTime(hour, minute, second, milliseconds),
                         Qt::LocalTime)
            .toUTC();
    // Counted by hand rather than through QDate and QTime: the shared file holds thousands.
    const qint64 msecs = CivilDate{year, month, day}.dayNumber() * 86'400'000 +
                         ((hour * 60 + minute) * 60 + second) * 1000 + milliseconds;
    if (in.skip(u'Z') || in.skip(u'z'))
        return in.atEnd() ? QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC) : QDateTime();
    const int sign = in.skip(u'+') ? 1 : in.skip(u'-') ? -1 : 0;
    if (sign == 0)
        return {};
    const int offsetHours = in.number(2);
    int offsetMinutes = 0;
    if (!in.atEnd()) {
        in.skip(u':');
        offsetMinutes = in.number(2);
    }
    if (!in.atEnd() || offsetHours < 0 || offsetHours > 23 || offsetMinutes < 0 ||
        offsetMinutes > 59)
        return {};
    const int offsetSeconds = sign * (offsetHours * 3600 + offsetMinutes * 60);
    return QDateTime::fromMSecsSinceEpoch(msecs - qint64(offsetSeconds) * 1000, Qt::UTC);
}
} // namespace

QDateTime RecentlyUsedFile::parseTimestamp(QStringView text)
{
    return parseTimestampIn(text);
}

QDateTime RecentlyUsedFile::parseTimestamp(QLatin1StringView text)
{
    return parseTimestampIn(text);
}

namespace {
bool isAsciiSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

char16_t unitAt(QStringView text, qsizetype i)
{
    return text[i].unicode();
}
char16_t unitAt(QByteArrayView bytes, qsizetype i)
{
    return uchar(bytes[i]);
}
bool sameIgnoringCase(QStringView text, QLatin1StringView other)
{
    return text.compare(other, Qt::CaseInsensitive) == 0;
}
// For bytes the caller has made sure are ASCII.
bool sameIgnoringCase(QByteArrayView bytes, QLatin1StringView other)
{
    return QLatin1StringView(bytes).compare(other, Qt::CaseInsensitive) == 0;
}

// RecentlyUsedFile::mayNeedCleaning for a path's bytes.
bool mayNeedCleaning(QByteArrayView path)
{
    if (!path.startsWith('/'))
        return true;
    if (path.size() > 1 && path.endsWith('/'))
        return true;
    const char* end = path.data() + path.size() - 1;
    for (const char* c = path.data(); c < end; ++c)
        if (*c == '/' && (c[1] == '/' || c[1] == '.'))
            return true;
    return false;
}

// The local path of a trimmed href, in UTF-16 (QStringView) or as UTF-8 bytes (QByteArrayView).
template <typename View>
QString localPathIn(View href)
{
    const qsizetype size = href.size();
    if (size < 5 || !sameIgnoringCase(href.first(5), QLatin1StringView("file:")))
        return {};
    qsizetype start = 5;
    if (size >= 7 && unitAt(href, 5) == u'/' && unitAt(href, 6) == u'/') {
        qsizetype slash = 7;
        while (slash < size && unitAt(href, slash) != u'/')
            ++slash;
        if (slash == size)
            return {};
        const View host = href.sliced(7, slash - 7);
        if (!host.isEmpty() && !sameIgnoringCase(host, QLatin1StringView("localhost")))
            return {};
        start = slash;
    }
    if (start >= size || unitAt(href, start) != u'/')
        return {};

    // Percent-decoding as GLib's g_filename_from_uri does it: a fragment, a bad escape, an
    // escaped NUL or an escaped '/' mean the URI names no file.
    QVarLengthArray<char, 512> bytes;
    bytes.reserve(size - start);
    for (qsizetype i = start; i < size; ++i) {
        if constexpr (std::is_same_v<View, QByteArrayView>) {
            // UTF-8 text up to the next escape or fragment, as it is.
            qsizetype run = i;
            while (run < size && href[run] != '%' && href[run] != '#')
                ++run;
            if (run > i) {
                bytes.append(href.data() + i, run - i);
                i = run - 1;
                continue;
            }
        }
        const char16_t c = unitAt(href, i);
        if (c == u'#')
            return {};
        if (c == u'%') {
            if (i + 2 >= size)
                return {};
            const int high = hexValue(QChar(unitAt(href, i + 1)));
            const int low = hexValue(QChar(unitAt(href, i + 2)));
            if (high < 0 || low < 0)
                return {};
            const char byte = char(high * 16 + low);
            if (byte == '\0' || byte == '/')
                return {};
            bytes.append(byte);
            i += 2;
        } else if (c < 0x80) {
            bytes.append(char(c));
        } else if constexpr (std::is_same_v<View, QStringView>) {
            // Unescaped non-ASCII text (an IRI): its UTF-8 bytes.
            qsizetype end = i + 1;
            while (end < size && unitAt(href, end) >= 0x80)
                ++end;
            const QByteArray text = href.sliced(i, end - i).toUtf8();
            bytes.append(text.constData(), text.size());
            i = end - 1;
        }
    }
    // As QFile::decodeName reads file names. Decoding keeps every ASCII byte as its character
    // and makes anything else characters that are not, so the bytes tell whether cleaning could
    // change the path.
    const QByteArrayView decoded(bytes.constData(), bytes.size());
    QString path = QString::fromLocal8Bit(decoded);
    if (mayNeedCleaning(decoded))
        path = QDir::cleanPath(path);
    return path;
}

// Whether the href's scheme and host, which are compared ignoring case, are ASCII: up to the
// third '/' or, without one, the whole href.
bool hasAsciiAuthority(QByteArrayView href)
{
    int slashes = 0;
    for (const char c : href) {
        if (c & 0x80)
            return false;
        if (c == '/' && ++slashes == 3)
            return true;
    }
    return true;
}
} // namespace

QString RecentlyUsedFile::localPathOf(QStringView href)
{
    return localPathIn(href.trimmed());
}

QString RecentlyUsedFile::localPathOfUtf8(QByteArrayView href)
{
    while (!href.isEmpty() && isAsciiSpace(href.front()))
        href = href.sliced(1);
    while (!href.isEmpty() && isAsciiSpace(href.back()))
        href.chop(1);
    // Other characters count as white space too, and compare equal to ASCII ignoring case: such
    // hrefs are read as text.
    if (!href.isEmpty() &&
        ((href.front() & 0x80) || (href.back() & 0x80) || !hasAsciiAuthority(href)))
        return localPathOf(XbelAttributes::textOf(href));
    return localPathIn(href);
}

bool RecentlyUsedFile::mayNeedCleaning(QStringView path)
{
    if (!path.startsWith(u'/'))
        return true;
    if (path.size() > 1 && path.endsWith(u'/'))
        return true;
    const char16_t* end = path.utf16() + path.size() - 1;
    for (const char16_t* c = path.utf16(); c < end; ++c)
        if (*c == u'/' && (c[1] == u'/' || c[1] == u'.'))
            return true;
    return false;
}

bool RecentlyUsedFile::removeApplication(const QString& xbelPath, const QString& desktopId,
                                         QString* error, int lockWaitMs)
{
    return RecentlyUsedEditor::removeApplication(xbelPath, desktopId, error, lockWaitMs);
}
