#include "XbelBuilder.h"

#include "CivilDate.h"

#include <QStringDecoder>

#include <cstring>

namespace {
// The one metadata owner whose applications and flags the desktop-bookmark format defines.
constexpr QStringView freedesktopOwner = u"http://freedesktop.org";

QDateTime parseLegacySeconds(QStringView text)
{
    bool ok = false;
    const qlonglong seconds = text.trimmed().toLongLong(&ok);
    // Up to the end of year 9999, as ISO dates go.
    if (!ok || seconds < 0 || seconds > 253402300799LL)
        return {};
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
}
QStringView viewOf(const XbelAttributes::ShortValue& value)
{
    return QStringView(value.data(), value.size());
}

// Exactly count decimal digits at text; -1 when they are not there.
int digitsAt(const char* text, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// The form GLib and KDE write, "2026-12-08T21:00:31.438Z" or without the fraction, read with
// fixed positions; none for any other text, which RecentlyUsedFile::parseTimestamp reads (to the
// same moment where it is of this form).
std::optional<QDateTime> commonTimestamp(QByteArrayView text)
{
    const char* p = text.data();
    if (text.size() < 20 || text.back() != 'Z' || p[4] != '-' || p[7] != '-' || p[10] != 'T' ||
        p[13] != ':' || p[16] != ':')
        return std::nullopt;
    const int year = digitsAt(p, 4);
    const int month = digitsAt(p + 5, 2);
    const int day = digitsAt(p + 8, 2);
    const int hour = digitsAt(p + 11, 2);
    const int minute = digitsAt(p + 14, 2);
    int second = digitsAt(p + 17, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1 ||
        day > CivilDate::daysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 60)
        return std::nullopt;
    // A leap second is read as the last second of its minute.
    second = qMin(second, 59);
    int milliseconds = 0;
    if (text.size() > 20) {
        // A fraction of any length; its first three digits count.
        if (p[19] != '.' || text.size() == 21)
            return std::nullopt;
        for (qsizetype i = 20; i < text.size() - 1; ++i) {
            if (p[i] < '0' || p[i] > '9')
                return std::nullopt;
            if (i < 23)
                milliseconds = milliseconds * 10 + (p[i] - '0');
        }
        for (qsizetype i = text.size() - 1; i < 23; ++i)
            milliseconds *= 10;
    }
    const qint64 msecs = CivilDate{year, month, day}.dayNumber() * 86'400'000 +
                         ((hour * 60 + minute) * 60 + second) * 1000 + milliseconds;
    return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC);
}

// A count written as plain decimal digits, as every writer writes it; -1 for any other text.
int plainCount(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 9)
        return -1;
    return digitsAt(text.data(), int(text.size()));
}
} // namespace

QString XbelAttributes::textOf(QByteArrayView utf8)
{
    if (!utf8.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(utf8);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    return decoder(utf8);
}

bool XbelAttributes::readsAsWritten(QByteArrayView raw)
{
    // None of the four is at or above '(', where most characters are: one comparison passes them.
    for (const char c : raw)
        if (uchar(c) < '(' && (c == '&' || c == '\r' || c == '\n' || c == '\t'))
            return false;
    return true;
}

bool XbelAttributes::shortValue(QLatin1StringView localName, ShortValue& shortValue) const
{
    const std::optional<QString> text = value(localName);
    if (!text)
        return false;
    shortValue.clear();
    shortValue.append(QStringView(*text).utf16(), text->size());
    return true;
}

QDateTime XbelBuilder::timestamp(const XbelAttributes& attributes, QLatin1StringView localName)
{
    // Digits and the form's separators read the same decoded.
    if (const std::optional<QByteArrayView> raw = attributes.rawValue(localName)) {
        if (raw->size() == m_lastStampSize &&
            std::memcmp(raw->data(), m_lastStampBytes.data(), size_t(raw->size())) == 0)
            return m_lastStamp;
        if (const std::optional<QDateTime> common = commonTimestamp(*raw)) {
            if (raw->size() <= qsizetype(m_lastStampBytes.size())) {
                std::memcpy(m_lastStampBytes.data(), raw->data(), size_t(raw->size()));
                m_lastStampSize = raw->size();
                m_lastStamp = *common;
            }
            return *common;
        }
    }
    if (const std::optional<QLatin1StringView> plain = attributes.plainValue(localName))
        return RecentlyUsedFile::parseTimestamp(*plain);
    XbelAttributes::ShortValue text;
    return attributes.shortValue(localName, text) ? RecentlyUsedFile::parseTimestamp(viewOf(text))
                                                  : QDateTime();
}

XbelBuilder::XbelBuilder(RecentlyUsedFile& file, QList<XbelBookmarkSpans>* spans)
    : m_file(file)
    , m_spans(spans)
{}

bool XbelBuilder::start(XbelElement element, const XbelAttributes& attributes,
                        qsizetype elementStart)
{
    if (m_stack.isEmpty()) {
        if (element != XbelElement::Xbel) {
            m_error = QStringLiteral("Not an XBEL document");
            return false;
        }
        m_isXbel = true;
        m_stack.append(Kind::Xbel);
        return true;
    }
    if (m_stack.size() >= RecentlyUsedFile::maximumDepth) {
        m_error = QStringLiteral("Elements are nested too deeply");
        return false;
    }

    Kind kind = Kind::Ignored;
    switch (m_stack.last()) {
    case Kind::Xbel:
    case Kind::Folder:
        if (element == XbelElement::Bookmark) {
            beginBookmark(attributes, elementStart);
            kind = Kind::Bookmark;
        } else if (element == XbelElement::Folder) {
            kind = Kind::Folder;
        }
        break;
    case Kind::Bookmark:
    case Kind::InsideBookmark:
        if (m_stack.last() == Kind::Bookmark && element == XbelElement::Title) {
            m_current.title.clear();
            kind = Kind::Title;
        } else if (element == XbelElement::Metadata) {
            if (isDesktopMetadata(attributes))
                kind = Kind::Metadata;
        } else {
            kind = Kind::InsideBookmark;
        }
        break;
    case Kind::Metadata:
        if (element == XbelElement::Applications)
            kind = Kind::Applications;
        else if (element == XbelElement::Private)
            m_current.isPrivate = true;
        break;
    case Kind::Applications:
        if (element == XbelElement::Application) {
            readApplication(attributes, elementStart);
            kind = Kind::Application;
        }
        break;
    case Kind::Title:
    case Kind::Application:
    case Kind::Ignored:
        break;
    }
    m_stack.append(kind);
    return true;
}

void XbelBuilder::end(qsizetype elementEnd)
{
    if (m_stack.isEmpty())
        return;
    const Kind kind = m_stack.last();
    m_stack.removeLast();
    if (kind == Kind::Application && m_spans) {
        m_currentApplication.span.end = elementEnd;
        m_currentSpans.applications.append(m_currentApplication);
    } else if (kind == Kind::Bookmark && m_bookmarkUsable) {
        if (m_spans) {
            m_currentSpans.bookmark.end = elementEnd;
            m_currentSpans.bookmarkIndex = m_file.m_bookmarks.size();
            m_spans->append(std::move(m_currentSpans));
        }
        m_file.m_bookmarks.append(std::move(m_current));
    }
}

void XbelBuilder::text(QStringView characters)
{
    if (wantsText())
        m_current.title += characters;
}

bool XbelBuilder::isDesktopMetadata(const XbelAttributes& attributes)
{
    const QLatin1StringView ownerName("owner");
    if (const std::optional<QByteArrayView> raw = attributes.rawValue(ownerName);
        raw && XbelAttributes::readsAsWritten(*raw))
        return raw->isEmpty() || QLatin1StringView(*raw) == freedesktopOwner;
    // Metadata without an owner is taken as the desktop's: some writers leave it out.
    const QString owner = attributes.value(ownerName).value_or(QString());
    return owner.isEmpty() || owner == freedesktopOwner;
}

int XbelBuilder::registrationCount(const XbelAttributes& attributes)
{
    const QLatin1StringView countName("count");
    if (const std::optional<QByteArrayView> raw = attributes.rawValue(countName)) {
        if (const int count = plainCount(*raw); count >= 0)
            return count;
    }
    XbelAttributes::ShortValue text;
    if (!attributes.shortValue(countName, text))
        return 1;
    bool ok = false;
    const int value = viewOf(text).trimmed().toInt(&ok);
    return ok && value >= 0 ? value : 1;
}

void XbelBuilder::beginBookmark(const XbelAttributes& attributes, qsizetype elementStart)
{
    m_current = {};
    m_currentSpans = {};
    m_currentSpans.bookmark.start = elementStart;
    const QLatin1StringView hrefName("href");
    const std::optional<QByteArrayView> raw = attributes.rawValue(hrefName);
    const bool asWritten = raw && XbelAttributes::readsAsWritten(*raw);
    m_current.href =
        asWritten ? XbelAttributes::textOf(*raw) : attributes.value(hrefName).value_or(QString());
    m_current.added = timestamp(attributes, QLatin1StringView("added"));
    m_current.modified = timestamp(attributes, QLatin1StringView("modified"));
    m_current.visited = timestamp(attributes, QLatin1StringView("visited"));
    // A bookmark without a target stands for nothing; it is passed over whole.
    m_bookmarkUsable = !m_current.href.trimmed().isEmpty();
    if (m_bookmarkUsable)
        m_current.localPath = asWritten ? RecentlyUsedFile::localPathOfUtf8(*raw)
                                        : RecentlyUsedFile::localPathOf(m_current.href);
}

void XbelBuilder::readApplication(const XbelAttributes& attributes, qsizetype elementStart)
{
    m_currentApplication = {};
    m_currentApplication.span.start = elementStart;

    RecentlyUsedFile::Application application;
    const std::optional<QString> name = attributes.repeatedValue(QLatin1StringView("name"));
    const std::optional<QString> exec = attributes.repeatedValue(QLatin1StringView("exec"));
    application.name = name.value_or(QString());
    application.exec = exec.value_or(QString());
    application.count = registrationCount(attributes);
    application.modified = timestamp(attributes, QLatin1StringView("modified"));
    XbelAttributes::ShortValue text;
    if (!application.modified.isValid() &&
        attributes.shortValue(QLatin1StringView("timestamp"), text))
        application.modified = parseLegacySeconds(viewOf(text));
    // Never "now": a stamp nobody wrote would move the document to the top of the list.
    if (!application.modified.isValid())
        application.modified = m_current.modified.isValid() ? m_current.modified : m_current.added;

    // GLib's reader refuses the whole file for an application without name or exec; here only
    // that element goes.
    if (!application.name.trimmed().isEmpty() && exec) {
        m_currentApplication.applicationIndex = m_current.applications.size();
        // Most documents were registered by one or two applications.
        if (m_current.applications.isEmpty())
            m_current.applications.reserve(2);
        m_current.applications.append(std::move(application));
    }
}
