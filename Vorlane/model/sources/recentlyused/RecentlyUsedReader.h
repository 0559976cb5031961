#pragma once

#include "RecentlyUsedFile.h"

#include <QList>
#include <QStringView>

#include <optional>

class QXmlStreamReader;

// Where an element of an XBEL document lies in its text: from the start of the whitespace that
// only separates it from what comes before, to just past its end tag. Cutting such a range out
// leaves the rest of the document as it was.
struct XbelSpan
{
    qsizetype start = 0;
    qsizetype end = 0;
};

// A bookmark's place in the text and that of each of its application elements, the unusable
// ones (no name or no exec) included.
struct XbelBookmarkSpans
{
    // Index of the bookmark in RecentlyUsedFile::bookmarks().
    qsizetype bookmarkIndex = 0;
    XbelSpan bookmark;
    struct ApplicationElement
    {
        XbelSpan span;
        // Index in the bookmark's applications; -1 for an element that was skipped.
        qsizetype applicationIndex = -1;
    };
    QList<ApplicationElement> applications;
};

// Turns an XBEL document into a RecentlyUsedFile, element by element, skipping what it cannot use.
class RecentlyUsedReader
{
public:
    // Reads bytes in any encoding the XML declares: quickly when the document is plain
    // well-formed UTF-8 (readQuickly), else with QXmlStreamReader (readThoroughly).
    static RecentlyUsedFile read(QByteArrayView bytes);
    // XbelScanner alone: none when the document is anything but plain and well-formed.
    static std::optional<RecentlyUsedFile> readQuickly(QByteArrayView bytes);
    // QXmlStreamReader alone, element by element up to the first fault.
    static RecentlyUsedFile readThoroughly(QByteArrayView bytes);
    // Reads text already decoded; with spans, also records where each bookmark and application
    // element lies in text (offsets into text).
    static RecentlyUsedFile read(QStringView text, QList<XbelBookmarkSpans>* spans);

private:
    static void run(QXmlStreamReader& xml, RecentlyUsedFile& file, QStringView text,
                    QList<XbelBookmarkSpans>* spans);
};
