#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The start of a text file as the preview shows it.
class PreviewTextReader
{
public:
    // The preview reads no more of a file than this.
    static constexpr qsizetype byteLimit = 256 * 1024;
    // Lines longer than this are shown broken into pieces of this length: laying out one long
    // line (minified code, a log without line ends) would hold up the window for a while.
    static constexpr qsizetype longestLine = 4096;

    // The first byteLimit bytes of the file, decoded, long lines broken; nothing when the file
    // cannot be read.
    static std::optional<QString> read(const QString& path);

    // UTF-16 and UTF-32 by their byte-order mark; otherwise UTF-8 when the bytes are valid UTF-8
    // (a character cut off at the end counts as valid: the read stops in the middle of a file),
    // else Latin-1, which every byte sequence is.
    static QString decode(const QByteArray& bytes);
    static QString breakLongLines(const QString& text);
};
