#pragma once

#include <QString>

class QFontMetrics;

// A document's name as the files views show it where it does not fit: shortened in the middle,
// so that its start and its type (the extension) stay readable.
class FileNameText
{
public:
    // The name within width pixels: whole when it fits, else with an ellipsis in the middle and
    // its extension kept at the end whenever the extension itself fits.
    static QString elided(const QString& name, const QFontMetrics& metrics, int width);
    // The name's extension with its dot (".txt"); empty for a name without one, a hidden file's
    // leading dot, or text after a dot that is no type (too long, or with spaces).
    static QString extensionOf(const QString& name);
};
