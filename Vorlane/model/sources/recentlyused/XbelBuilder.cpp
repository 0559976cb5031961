#include "XbelBuilder.h"

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
} // namespace

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
            // Metadata without an owner is taken as the desktop's: some writers leave it out.
            const QString owner = attributes.value(QLatin1StringView("owner")).value_or(QString());
            if (owner.isEmpty() || owner == freedesktopOwner)
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

void XbelBuilder::beginBookmark(const XbelAttributes& attributes, qsizetype elementStart)
{
    m_current = {};
    m_currentSpans = {};
    m_currentSpans.bookmark.start = elementStart;
    m_current.href = attributes.value(QLatin1StringView("href")).value_or(QString());
    m_current.added = timestamp(attributes, QLatin1StringView("added"));
    m_current.modified = timestamp(attributes, QLatin1StringView("modified"));
    m_current.visited = timestamp(attributes, QLatin1StringView("visited"));
    // A bookmark without a target stands for nothing; it is passed over whole.
    m_bookmarkUsable = !m_current.href.trimmed().isEmpty();
    if (m_bookmarkUsable)
        m_current.localPath = RecentlyUsedFile::localPathOf(m_current.href);
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
    XbelAttributes::ShortValue text;
    if (attributes.shortValue(QLatin1StringView("count"), text)) {
        bool ok = false;
        const int value = viewOf(text).trimmed().toInt(&ok);
        application.count = ok && value >= 0 ? value : 1;
    }
    application.modified = timestamp(attributes, QLatin1StringView("modified"));
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
        m_current.applications.append(std::move(application));
    }
}
