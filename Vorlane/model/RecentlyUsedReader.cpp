#include "RecentlyUsedReader.h"

#include <QVarLengthArray>
#include <QXmlStreamReader>

namespace {
// The one metadata owner whose applications and flags the desktop-bookmark format defines.
constexpr QStringView freedesktopOwner = u"http://freedesktop.org";

enum class Kind : quint8
{
    Xbel,
    Folder,
    Bookmark,
    // Anything else inside a bookmark (its info element, for one): searched for metadata.
    InsideBookmark,
    Metadata,
    Applications,
};

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\n' || c == u'\t' || c == u'\r';
}

// The start of the element whose start tag ends at tagEnd, with the whitespace that only
// separates it from the markup before it. Attribute values cannot hold '<', so the last '<'
// before the end of the tag opens it.
qsizetype elementStart(QStringView text, qint64 tagEnd)
{
    qsizetype start = text.lastIndexOf(u'<', qsizetype(tagEnd) - 1);
    if (start < 0)
        return 0;
    qsizetype blank = start;
    while (blank > 0 && isSpace(text[blank - 1]))
        --blank;
    if (blank < start && blank > 0 && text[blank - 1] == u'>')
        return blank;
    return start;
}

QDateTime parseLegacySeconds(QStringView text)
{
    bool ok = false;
    const qlonglong seconds = text.trimmed().toLongLong(&ok);
    // Up to the end of year 9999, as ISO dates go.
    if (!ok || seconds < 0 || seconds > 253402300799LL)
        return {};
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
}

class Reading
{
public:
    Reading(QXmlStreamReader& xml, RecentlyUsedFile::Bookmark& current, QStringView text,
            QList<XbelBookmarkSpans>* spans)
        : m_xml(xml)
        , m_current(current)
        , m_text(text)
        , m_spans(spans)
    {}

    // Reads until the end or the first XML error; returns whether the document was an XBEL file.
    template <typename Append>
    bool run(Append&& appendBookmark)
    {
        while (!m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::StartElement) {
                if (m_stack.isEmpty() && m_xml.name() != u"xbel")
                    return false;
                if (m_stack.size() >= RecentlyUsedFile::maximumDepth) {
                    m_xml.raiseError(QStringLiteral("Elements are nested too deeply"));
                    break;
                }
                startElement();
            } else if (token == QXmlStreamReader::EndElement && !m_stack.isEmpty()) {
                if (m_stack.last() == Kind::Bookmark && m_inBookmark) {
                    m_inBookmark = false;
                    if (m_bookmarkUsable) {
                        m_currentSpans.bookmark.end = qsizetype(m_xml.characterOffset());
                        appendBookmark(m_currentSpans);
                    }
                }
                m_stack.removeLast();
            }
        }
        return true;
    }

private:
    void startElement()
    {
        const QStringView name = m_xml.name();
        if (m_stack.isEmpty()) {
            m_stack.append(Kind::Xbel);
            return;
        }
        switch (m_stack.last()) {
        case Kind::Xbel:
        case Kind::Folder:
            if (name == u"bookmark") {
                beginBookmark();
                m_stack.append(Kind::Bookmark);
            } else if (name == u"folder") {
                m_stack.append(Kind::Folder);
            } else {
                m_xml.skipCurrentElement();
            }
            return;
        case Kind::Bookmark:
        case Kind::InsideBookmark:
            if (m_stack.last() == Kind::Bookmark && name == u"title") {
                m_current.title = m_xml.readElementText(QXmlStreamReader::SkipChildElements);
            } else if (name == u"metadata") {
                // Metadata without an owner is taken as the desktop's: some writers leave it out.
                const QStringView owner = m_xml.attributes().value(QStringLiteral("owner"));
                if (owner.isEmpty() || owner == freedesktopOwner)
                    m_stack.append(Kind::Metadata);
                else
                    m_xml.skipCurrentElement();
            } else {
                m_stack.append(Kind::InsideBookmark);
            }
            return;
        case Kind::Metadata:
            if (name == u"applications") {
                m_stack.append(Kind::Applications);
            } else {
                if (name == u"private")
                    m_current.isPrivate = true;
                m_xml.skipCurrentElement();
            }
            return;
        case Kind::Applications:
            if (name == u"application")
                readApplication();
            else
                m_xml.skipCurrentElement();
            return;
        }
    }

    void beginBookmark()
    {
        m_inBookmark = true;
        m_current = {};
        m_currentSpans = {};
        if (m_spans)
            m_currentSpans.bookmark.start = elementStart(m_text, m_xml.characterOffset());
        for (const QXmlStreamAttribute& attribute : m_xml.attributes()) {
            const QStringView name = attribute.name();
            if (name == u"href")
                m_current.href = attribute.value().toString();
            else if (name == u"added")
                m_current.added = RecentlyUsedFile::parseTimestamp(attribute.value());
            else if (name == u"modified")
                m_current.modified = RecentlyUsedFile::parseTimestamp(attribute.value());
            else if (name == u"visited")
                m_current.visited = RecentlyUsedFile::parseTimestamp(attribute.value());
        }
        // A bookmark without a target stands for nothing; it is passed over whole.
        m_bookmarkUsable = !m_current.href.trimmed().isEmpty();
        if (m_bookmarkUsable)
            m_current.localPath = RecentlyUsedFile::localPathOf(m_current.href);
    }

    void readApplication()
    {
        XbelBookmarkSpans::ApplicationElement element;
        if (m_spans)
            element.span.start = elementStart(m_text, m_xml.characterOffset());

        RecentlyUsedFile::Application application;
        bool hasName = false;
        bool hasExec = false;
        QStringView modified;
        QStringView timestamp;
        for (const QXmlStreamAttribute& attribute : m_xml.attributes()) {
            const QStringView name = attribute.name();
            if (name == u"name") {
                application.name = attribute.value().toString();
                hasName = !application.name.trimmed().isEmpty();
            } else if (name == u"exec") {
                application.exec = attribute.value().toString();
                hasExec = true;
            } else if (name == u"modified") {
                modified = attribute.value();
            } else if (name == u"timestamp") {
                timestamp = attribute.value();
            } else if (name == u"count") {
                bool ok = false;
                const int count = attribute.value().trimmed().toInt(&ok);
                application.count = ok && count >= 0 ? count : 1;
            }
        }
        if (!modified.isEmpty())
            application.modified = RecentlyUsedFile::parseTimestamp(modified);
        if (!application.modified.isValid() && !timestamp.isEmpty())
            application.modified = parseLegacySeconds(timestamp);
        // Never "now": a stamp nobody wrote would move the document to the top of the list.
        if (!application.modified.isValid())
            application.modified =
                m_current.modified.isValid() ? m_current.modified : m_current.added;

        // GLib's reader refuses the whole file for one such element; here only the element goes.
        if (hasName && hasExec) {
            element.applicationIndex = m_current.applications.size();
            m_current.applications.append(std::move(application));
        }
        m_xml.skipCurrentElement();
        if (m_spans) {
            element.span.end = qsizetype(m_xml.characterOffset());
            m_currentSpans.applications.append(element);
        }
    }

    QXmlStreamReader& m_xml;
    RecentlyUsedFile::Bookmark& m_current;
    QStringView m_text;
    QList<XbelBookmarkSpans>* m_spans;
    QVarLengthArray<Kind, RecentlyUsedFile::maximumDepth> m_stack;
    XbelBookmarkSpans m_currentSpans;
    bool m_inBookmark = false;
    bool m_bookmarkUsable = false;
};
} // namespace

RecentlyUsedFile RecentlyUsedReader::read(QByteArrayView bytes)
{
    RecentlyUsedFile file;
    QXmlStreamReader xml(QByteArray::fromRawData(bytes.data(), bytes.size()));
    run(xml, file, {}, nullptr);
    return file;
}

RecentlyUsedFile RecentlyUsedReader::read(QStringView text, QList<XbelBookmarkSpans>* spans)
{
    RecentlyUsedFile file;
    QXmlStreamReader xml(QString::fromRawData(text.data(), text.size()));
    run(xml, file, text, spans);
    return file;
}

void RecentlyUsedReader::run(QXmlStreamReader& xml, RecentlyUsedFile& file, QStringView text,
                             QList<XbelBookmarkSpans>* spans)
{
    // Prefixes are matched by local name: writers that forget to declare the bookmark namespace,
    // or use no prefix at all, still write the same elements.
    xml.setNamespaceProcessing(false);
    RecentlyUsedFile::Bookmark current;
    Reading reading(xml, current, text, spans);
    const bool isXbel = reading.run([&](XbelBookmarkSpans& bookmarkSpans) {
        if (spans) {
            bookmarkSpans.bookmarkIndex = file.m_bookmarks.size();
            spans->append(std::move(bookmarkSpans));
        }
        file.m_bookmarks.append(std::move(current));
    });
    if (!isXbel) {
        file.m_complete = false;
        file.m_errorString = QStringLiteral("Not an XBEL document");
    } else if (xml.hasError()) {
        file.m_complete = false;
        file.m_errorString = QStringLiteral("%1 (line %2, column %3)")
                                 .arg(xml.errorString())
                                 .arg(xml.lineNumber())
                                 .arg(xml.columnNumber());
    } else {
        file.m_complete = true;
    }
}
