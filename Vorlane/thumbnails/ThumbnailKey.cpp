#include "ThumbnailKey.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

QString thumbnailKey(const QString& filePath, double width, double height)
{
    return filePath + u'-' + thumbnailKeyNumber(width) + u'x' + thumbnailKeyNumber(height);
}

QString thumbnailKeyNumber(double value)
{
    if (std::isnan(value))
        return QStringLiteral("nan");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-inf") : QStringLiteral("inf");
    // Fixed notation, never an exponent: the largest double has 309 integral digits.
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    const std::string_view digits(buffer.data(), static_cast<size_t>(result.ptr - buffer.data()));
    QString text = QString::fromLatin1(digits.data(), static_cast<qsizetype>(digits.size()));
    if (!text.contains(u'.'))
        text += QStringLiteral(".0");
    return text;
}
