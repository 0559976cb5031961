#include "FileUri.h"

#include <QFile>

#include <string_view>

namespace {
// Bytes GLib leaves as they are in the path of a file URI: letters, digits and !$&'()*+,-./:=@_~.
// Everything else, every byte above 0x7F included, becomes %XX with upper-case hex digits.
bool keptInPath(unsigned char byte)
{
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
        (byte >= '0' && byte <= '9'))
        return true;
    static constexpr std::string_view kept = "!$&'()*+,-./:=@_~";
    return kept.find(static_cast<char>(byte)) != std::string_view::npos;
}
} // namespace

QByteArray FileUri::fromPath(const QString& absolutePath)
{
    return fromEncodedPath(QFile::encodeName(absolutePath));
}

QByteArray FileUri::fromEncodedPath(const QByteArray& absolutePath)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    QByteArray uri("file://");
    uri.reserve(uri.size() + absolutePath.size() * 3);
    for (const char c : absolutePath) {
        const auto byte = static_cast<unsigned char>(c);
        if (keptInPath(byte)) {
            uri += c;
        } else {
            uri += '%';
            uri += hex[byte >> 4];
            uri += hex[byte & 0x0F];
        }
    }
    return uri;
}
