#pragma once

#include <QByteArrayView>

class XbelBuilder;

// A quick reader for the XBEL documents GLib and KDE write: UTF-8, well-formed, without an
// internal DTD subset or entities of their own. It reads such a document several times faster
// than QXmlStreamReader. At the first thing outside that set (any fault, any construct it does
// not handle) it gives up and returns false; the caller then reads the document again with
// QXmlStreamReader, which decides what a damaged or unusual document holds. So for every document
// it accepts, it must find exactly what QXmlStreamReader finds.
class XbelScanner
{
public:
    static bool scan(QByteArrayView document, XbelBuilder& builder);
};
