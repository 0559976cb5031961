#pragma once

#include "FileStamp.h"

#include <QImage>

#include <optional>

// What asking for one file's thumbnail came to: the picture (or none), the version of the file it
// shows, and where it came from.
class ThumbnailOutcome
{
public:
    enum class Source
    {
        None,         // missing file, unsupported type, known failure, or changed meanwhile
        SharedCache,  // a valid thumbnail in the desktop's shared cache
        Rendered,     // made now, and written to the shared cache
        RenderFailed, // a renderer was tried and made nothing
    };

    static ThumbnailOutcome none(Source source = Source::None) { return ThumbnailOutcome(source); }
    static ThumbnailOutcome found(Source source, QImage image, const FileStamp& stamp);

    Source source() const { return m_source; }
    std::optional<QImage> image() const { return m_image; }
    std::optional<FileStamp> stamp() const { return m_stamp; }

private:
    explicit ThumbnailOutcome(Source source)
        : m_source(source)
    {}

    Source m_source;
    std::optional<QImage> m_image;
    std::optional<FileStamp> m_stamp;
};
