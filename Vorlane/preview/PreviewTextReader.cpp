#include "PreviewTextReader.h"

#include <QFile>
#include <QStringDecoder>

std::optional<QString> PreviewTextReader::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(byteLimit);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return breakLongLines(decode(bytes));
}

QString PreviewTextReader::decode(const QByteArray& bytes)
{
    const std::optional<QStringConverter::Encoding> marked =
        QStringConverter::encodingForData(bytes);
    if (marked && *marked != QStringConverter::Utf8) {
        QStringDecoder byMark(*marked);
        return byMark.decode(bytes);
    }
    // Stateful, so a sequence cut off at the end waits for bytes that never come instead of
    // counting as an error.
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

QString PreviewTextReader::breakLongLines(const QString& text)
{
    QString broken;
    qsizetype lineStart = 0;
    qsizetype copied = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text.at(at) == u'\n') {
            lineStart = at + 1;
            continue;
        }
        // Never between the halves of a surrogate pair.
        if (at - lineStart < longestLine || text.at(at).isLowSurrogate())
            continue;
        if (broken.isEmpty())
            broken.reserve(text.size() + text.size() / longestLine + 1);
        broken.append(QStringView(text).mid(copied, at - copied)).append(u'\n');
        copied = at;
        lineStart = at;
    }
    if (copied == 0)
        return text;
    return broken.append(QStringView(text).mid(copied));
}
