#include "ThumbnailerEntry.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QString group = QStringLiteral("[Thumbnailer Entry]");

// The value of key in the thumbnailer group, localised keys ignored.
QHash<QString, QString> groupValues(const QByteArray& text)
{
    QHash<QString, QString> values;
    bool inGroup = false;
    for (const QByteArray& rawLine : text.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inGroup = line == group;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inGroup || equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        if (!values.contains(key))
            values.insert(key, line.mid(equals + 1).trimmed());
    }
    return values;
}

// Replaces %i, %u, %o, %s and %%; other field codes are dropped.
QString expandFieldCodes(const QString& argument, const QString& inputPath,
                         const QByteArray& inputUri, const QString& outputPath, int size)
{
    QString expanded;
    for (qsizetype i = 0; i < argument.size(); ++i) {
        if (argument.at(i) != u'%' || i + 1 == argument.size()) {
            expanded += argument.at(i);
            continue;
        }
        switch (argument.at(++i).unicode()) {
        case 'i':
            expanded += inputPath;
            break;
        case 'u':
            expanded += QString::fromLatin1(inputUri);
            break;
        case 'o':
            expanded += outputPath;
            break;
        case 's':
            expanded += QString::number(size);
            break;
        case '%':
            expanded += u'%';
            break;
        default:
            break;
        }
    }
    return expanded;
}
} // namespace

std::optional<ThumbnailerEntry> ThumbnailerEntry::read(const QString& file)
{
    QFile keyFile(file);
    if (!keyFile.open(QIODevice::ReadOnly))
        return std::nullopt;
    // A key file is a few lines; anything longer is not one.
    return parse(file, keyFile.read(64 * 1024));
}

std::optional<ThumbnailerEntry> ThumbnailerEntry::parse(const QString& file, const QByteArray& text)
{
    const QHash<QString, QString> values = groupValues(text);
    const std::optional<QStringList> exec =
        splitExec(unescapeValue(values.value(QStringLiteral("Exec"))));
    if (!exec || exec->isEmpty())
        return std::nullopt;
    ThumbnailerEntry entry;
    entry.m_file = file;
    entry.m_tryExec = unescapeValue(values.value(QStringLiteral("TryExec")));
    entry.m_exec = *exec;
    for (const QString& type :
         unescapeValue(values.value(QStringLiteral("MimeType"))).split(u';', Qt::SkipEmptyParts))
        entry.m_mimeTypes << type.trimmed();
    if (entry.m_mimeTypes.isEmpty())
        return std::nullopt;
    return entry;
}

QString ThumbnailerEntry::unescapeValue(const QString& value)
{
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) != u'\\' || i + 1 == value.size()) {
            text += value.at(i);
            continue;
        }
        switch (value.at(++i).unicode()) {
        case 's':
            text += u' ';
            break;
        case 'n':
            text += u'\n';
            break;
        case 't':
            text += u'\t';
            break;
        case 'r':
            text += u'\r';
            break;
        case '\\':
            text += u'\\';
            break;
        // Other escapes (\; in lists, \" in Exec) are for the next reader to resolve.
        default:
            text += u'\\';
            text += value.at(i);
            break;
        }
    }
    return text;
}

std::optional<QStringList> ThumbnailerEntry::splitExec(const QString& exec)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted) {
            if (c == u'"') {
                quoted = false;
            } else if (c == u'\\' && i + 1 < exec.size() &&
                       QStringView(u"\"`$\\").contains(exec.at(i + 1))) {
                current += exec.at(++i);
            } else {
                current += c;
            }
        } else if (c == u' ' || c == u'\t') {
            if (inArgument)
                arguments << current;
            current.clear();
            inArgument = false;
        } else {
            inArgument = true;
            if (c == u'"')
                quoted = true;
            else
                current += c;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inArgument)
        arguments << current;
    return arguments;
}

QString ThumbnailerEntry::findProgram(const QString& program)
{
    if (program.contains(u'/')) {
        const QFileInfo info(program);
        return info.isAbsolute() && info.isFile() && info.isExecutable() ? program : QString();
    }
    return QStandardPaths::findExecutable(program);
}

bool ThumbnailerEntry::isInstalled() const
{
    return (m_tryExec.isEmpty() || !findProgram(m_tryExec).isEmpty()) &&
           !findProgram(m_exec.constFirst()).isEmpty();
}

QStringList ThumbnailerEntry::commandLine(const QString& inputPath, const QByteArray& inputUri,
                                          const QString& outputPath, int size) const
{
    QStringList command{findProgram(m_exec.constFirst())};
    for (qsizetype i = 1; i < m_exec.size(); ++i)
        command << expandFieldCodes(m_exec.at(i), inputPath, inputUri, outputPath, size);
    return command;
}
