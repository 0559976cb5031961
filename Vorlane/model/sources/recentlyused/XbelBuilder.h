#pragma once

#include "RecentlyUsedFile.h"
#include "RecentlyUsedReader.h"

#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <QVarLengthArray>

#include <array>
#include <optional>

// The elements of an XBEL document that mean something here, by local name (prefixes are not
// looked at: writers that forget to declare the bookmark namespace, or use none, write the same
// elements).
enum class XbelElement : quint8
{
    Xbel,
    Folder,
    Bookmark,
    Title,
    Metadata,
    Applications,
    Application,
    Private,
    Other,
};

// The attributes of the element being started, looked up by local name (the first one wins).
class XbelAttributes
{
public:
    // Room for a value that is read and dropped (a date, a count) without making a string.
    using ShortValue = QVarLengthArray<char16_t, 64>;

    virtual ~XbelAttributes() = default;
    virtual std::optional<QString> value(QLatin1StringView localName) const = 0;
    // The same value; readers may hand out one shared string for values that repeat through
    // the document (application names and exec lines).
    virtual std::optional<QString> repeatedValue(QLatin1StringView localName) const
    {
        return value(localName);
    }
    // The value copied into shortValue; false when absent.
    virtual bool shortValue(QLatin1StringView localName, ShortValue& shortValue) const;
    // The value as it stands in the document, where it is ASCII that reads the same decoded;
    // none otherwise (also when absent). Readers that decode every value give none.
    virtual std::optional<QLatin1StringView> plainValue(QLatin1StringView) const
    {
        return std::nullopt;
    }
    // The value's UTF-8 bytes as written in the document, references and line ends not yet
    // decoded; none when absent, or from readers that do not keep the bytes. Callers read it
    // only where it holds none of those (see readsAsWritten).
    virtual std::optional<QByteArrayView> rawValue(QLatin1StringView) const { return std::nullopt; }
    // Whether a raw value reads the same decoded: no reference, no line end, no tab.
    static bool readsAsWritten(QByteArrayView raw);
    // The text of a document's UTF-8 bytes, every character kept: QString::fromUtf8 drops a
    // byte order mark at the start, which inside a document is a character like any other.
    static QString textOf(QByteArrayView utf8);
};

// Builds a RecentlyUsedFile from the elements of a document as a reader meets them, skipping
// what it cannot use. Both readers (the fast one for plain well-formed files and QXmlStreamReader
// for everything else) drive it, so they agree on what a document holds.
class XbelBuilder
{
public:
    XbelBuilder(RecentlyUsedFile& file, QList<XbelBookmarkSpans>* spans);

    // An element starts; elementStart is where its span begins (see XbelSpan). Returns false
    // when reading must stop: the document is not XBEL, or is nested too deeply (error()).
    bool start(XbelElement element, const XbelAttributes& attributes, qsizetype elementStart);
    // The current element ends at elementEnd.
    void end(qsizetype elementEnd);
    // Character data of the current element (entities resolved).
    void text(QStringView characters);
    // Whether text() is wanted now; readers may skip decoding otherwise.
    bool wantsText() const { return !m_stack.isEmpty() && m_stack.last() == Kind::Title; }

    // Why start() refused, when it did.
    const QString& error() const { return m_error; }
    bool isXbel() const { return m_isXbel; }

private:
    enum class Kind : quint8
    {
        Xbel,
        Folder,
        Bookmark,
        // Anything else inside a bookmark (its info element, for one): searched for metadata.
        InsideBookmark,
        Title,
        Metadata,
        Applications,
        Application,
        Ignored,
    };

    QDateTime timestamp(const XbelAttributes& attributes, QLatin1StringView localName);
    static bool isDesktopMetadata(const XbelAttributes& attributes);
    static int registrationCount(const XbelAttributes& attributes);
    void beginBookmark(const XbelAttributes& attributes, qsizetype elementStart);
    void readApplication(const XbelAttributes& attributes, qsizetype elementStart);

    RecentlyUsedFile& m_file;
    QList<XbelBookmarkSpans>* m_spans;
    QVarLengthArray<Kind, RecentlyUsedFile::maximumDepth> m_stack;
    RecentlyUsedFile::Bookmark m_current;
    XbelBookmarkSpans m_currentSpans;
    XbelBookmarkSpans::ApplicationElement m_currentApplication;
    bool m_bookmarkUsable = false;
    bool m_isXbel = false;
    QString m_error;
    // The last time stamp read in the common form, by its bytes: a bookmark's dates and its
    // applications' are mostly one moment, written alike.
    std::array<char, 32> m_lastStampBytes{};
    qsizetype m_lastStampSize = -1;
    QDateTime m_lastStamp;
};
