#include "FileNameText.h"

#include <QFontMetrics>

namespace {
// Longer suffixes are part of the name ("Minutes 3.5 final draft"), not a type.
constexpr qsizetype longestExtension = 10;
} // namespace

QString FileNameText::extensionOf(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0 || dot == name.size() - 1 || name.size() - dot > longestExtension + 1)
        return {};
    const QString extension = name.mid(dot);
    return extension.contains(u' ') ? QString() : extension;
}

QString FileNameText::elided(const QString& name, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(name) <= width)
        return name;
    const QString middle = metrics.elidedText(name, Qt::ElideMiddle, width);
    const QString extension = extensionOf(name);
    if (extension.isEmpty() || middle.endsWith(extension))
        return middle;
    // Too narrow for an even split to reach the type: the start gives way to it.
    const int room = width - metrics.horizontalAdvance(extension);
    const QString start = metrics.elidedText(name.chopped(extension.size()), Qt::ElideRight, room);
    return start.isEmpty() ? middle : start + extension;
}
