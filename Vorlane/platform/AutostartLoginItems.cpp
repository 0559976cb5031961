#include "AutostartLoginItems.h"

#include "VorlaneController.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace {
bool holdsExactly(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.size() == text.size() && file.readAll() == text;
}
} // namespace

bool AutostartLoginItems::setEnabled(const QString& identifier, bool enabled)
{
    const QString path = entryPath(identifier);
    if (!enabled)
        return !QFile::exists(path) || QFile::remove(path);
    const QByteArray text = entryText(helperExecutablePath());
    // Every start asks for it: an entry already as it should be is left alone, which spares the
    // start a write and its wait for the disk.
    if (holdsExactly(path, text))
        return true;
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text);
    return file.commit();
}

QString AutostartLoginItems::entryPath(const QString& identifier)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/") + identifier + QStringLiteral(".desktop");
}

QString AutostartLoginItems::helperExecutablePath()
{
    return VorlaneController::ownBundlePath() +
           QStringLiteral("/Contents/Library/LoginItems/VorlaneHelper.app/Contents/MacOS/"
                          "VorlaneHelper");
}

QString AutostartLoginItems::escapedStringValue(const QString& text)
{
    QString escaped;
    for (const QChar c : text) {
        if (c == u'\\')
            escaped += QStringLiteral("\\\\");
        else if (c == u'\n')
            escaped += QStringLiteral("\\n");
        else if (c == u'\t')
            escaped += QStringLiteral("\\t");
        else if (c == u'\r')
            escaped += QStringLiteral("\\r");
        // Leading spaces would be taken for the space around the equals sign.
        else if (c == u' ' && escaped.isEmpty())
            escaped += QStringLiteral("\\s");
        else
            escaped += c;
    }
    return escaped;
}

QString AutostartLoginItems::quotedExecValue(const QString& path)
{
    static const QString reserved = QStringLiteral(" \t\n\r\"'\\><~|&;$*?#()`");
    const bool needsQuotes =
        std::any_of(path.cbegin(), path.cend(), [](QChar c) { return reserved.contains(c); });
    QString value = path;
    // Field codes start with %; a literal one is written twice.
    value.replace(u'%', QStringLiteral("%%"));
    if (!needsQuotes)
        return escapedStringValue(value);
    QString quoted;
    for (const QChar c : std::as_const(value)) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    // The desktop entry's own string escape applies on top of the quoting.
    return escapedStringValue(u'"' + quoted + u'"');
}

QByteArray AutostartLoginItems::entryText(const QString& executable)
{
    const QString exec = quotedExecValue(executable);
    // TryExec keeps the session from trying a helper that is not there.
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Vorlane Helper\n"
                          "Comment=Starts Vorlane when you log in\n"
                          "Exec=%1\n"
                          "TryExec=%2\n"
                          "NoDisplay=true\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(exec, escapedStringValue(executable))
        .toUtf8();
}
