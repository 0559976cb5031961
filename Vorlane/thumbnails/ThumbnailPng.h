#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPair>

// PNG files as the freedesktop thumbnail standard wants them: the picture plus its attributes as
// uncompressed tEXt chunks (Thumb::URI, Thumb::MTime, ...) placed before the image data, where
// every reader, including those that only look at tEXt, finds them without decoding pixels.
class ThumbnailPng
{
public:
    using Attributes = QList<QPair<QByteArray, QByteArray>>;

    // The encoded file; empty when the image cannot be encoded. Keys and values are Latin-1 text;
    // pairs with an empty key, a key longer than 79 bytes or a NUL byte are left out.
    static QByteArray encode(const QImage& image, const Attributes& attributes);

    // The uncompressed tEXt attributes of PNG data, in file order, up to the image data (where
    // writers that follow the standard put them). Damaged data ends the reading, never more.
    static Attributes leadingTextChunks(const QByteArray& png);

private:
    static QByteArray chunk(const QByteArray& type, const QByteArray& data);
};
