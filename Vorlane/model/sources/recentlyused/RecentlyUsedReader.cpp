#include "RecentlyUsedReader.h"

#include "XbelBuilder.h"
#include "XbelScanner.h"

#include <QXmlStreamReader>

namespace {
bool isSpace(QChar c)
{
    return c == u' ' || c == u'\n' || c == u'\t' || c == u'\r';
}

// The start of the element whose start tag ends at tagEnd, with the whitespace that only
// separates it from the markup before it. Attribute values cannot hold '<', so the last '<'
// before the end of the tag opens it.
qsizetype elementStart(QStringView text, qint64 tagEnd)
{
    const qsizetype start = text.lastIndexOf(u'<', qsizetype(tagEnd) - 1);
    if (start < 0)
        return 0;
    qsizetype blank = start;
    while (blank > 0 && isSpace(text[blank - 1]))
        --blank;
    if (blank < start && blank > 0 && text[blank - 1] == u'>')
        return blank;
    return start;
}

XbelElement classify(QStringView localName)
{
    if (localName == u"xbel")
        return XbelElement::Xbel;
    if (localName == u"bookmark")
        return XbelElement::Bookmark;
    if (localName == u"folder")
        return XbelElement::Folder;
    if (localName == u"title")
        return XbelElement::Title;
    if (localName == u"metadata")
        return XbelElement::Metadata;
    if (localName == u"applications")
        return XbelElement::Applications;
    if (localName == u"application")
        return XbelElement::Application;
    if (localName == u"private")
        return XbelElement::Private;
    return XbelElement::Other;
}

class StreamAttributes final : public XbelAttributes
{
public:
    explicit StreamAttributes(const QXmlStreamAttributes& attributes)
        : m_attributes(attributes)
    {}

    std::optional<QString> value(QLatin1StringView localName) const override
    {
        for (const QXmlStreamAttribute& attribute : m_attributes)
            if (attribute.name() == localName)
                return attribute.value().toString();
        return std::nullopt;
    }

private:
    const QXmlStreamAttributes& m_attributes;
};

void finish(const XbelBuilder& builder, const QXmlStreamReader& xml, QString* errorString,
            bool* complete)
{
    if (!builder.error().isEmpty()) {
        *complete = false;
        *errorString = builder.error();
    } else if (xml.hasError()) {
        *complete = false;
        *errorString = QStringLiteral("%1 (line %2, column %3)")
                           .arg(xml.errorString())
                           .arg(xml.lineNumber())
                           .arg(xml.columnNumber());
    } else if (!builder.isXbel()) {
        *complete = false;
        *errorString = QStringLiteral("Not an XBEL document");
    } else {
        *complete = true;
    }
}
} // namespace

RecentlyUsedFile RecentlyUsedReader::read(QByteArrayView bytes)
{
    if (std::optional<RecentlyUsedFile> file = readQuickly(bytes))
        return std::move(*file);
    return readThoroughly(bytes);
}

std::optional<RecentlyUsedFile> RecentlyUsedReader::readQuickly(QByteArrayView bytes)
{
    RecentlyUsedFile file;
    XbelBuilder builder(file, nullptr);
    if (!XbelScanner::scan(bytes, builder))
        return std::nullopt;
    file.m_complete = true;
    return file;
}

RecentlyUsedFile RecentlyUsedReader::readThoroughly(QByteArrayView bytes)
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
    // Prefixes are matched by local name (see XbelElement).
    xml.setNamespaceProcessing(false);
    XbelBuilder builder(file, spans);
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const qsizetype start = spans ? elementStart(text, xml.characterOffset()) : 0;
            if (!builder.start(classify(xml.name()), StreamAttributes(xml.attributes()), start))
                break;
        } else if (token == QXmlStreamReader::EndElement) {
            builder.end(spans ? qsizetype(xml.characterOffset()) : 0);
        } else if (token == QXmlStreamReader::Characters && builder.wantsText()) {
            builder.text(xml.text());
        }
    }
    finish(builder, xml, &file.m_errorString, &file.m_complete);
}
