#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// One installed freedesktop thumbnailer: a key file "<name>.thumbnailer" whose group
// [Thumbnailer Entry] names the program (TryExec), its command line (Exec, with %i for the input
// path, %u for its URI, %o for the output PNG, %s for the size and %% for a percent sign) and
// the MIME types it makes thumbnails of (MimeType, separated by semicolons).
class ThumbnailerEntry
{
public:
    static std::optional<ThumbnailerEntry> read(const QString& file);
    // The same from the key file's text; file names the entry in messages only.
    static std::optional<ThumbnailerEntry> parse(const QString& file, const QByteArray& text);

    QString file() const { return m_file; }
    QString tryExec() const { return m_tryExec; }
    QStringList execArguments() const { return m_exec; }
    QStringList mimeTypes() const { return m_mimeTypes; }

    // Whether TryExec (when given) and the Exec program can be found and run.
    bool isInstalled() const;
    // The program and its arguments for one file, field codes replaced; the program is resolved
    // through PATH. Nothing passes through a shell.
    QStringList commandLine(const QString& inputPath, const QByteArray& inputUri,
                            const QString& outputPath, int size) const;

    // The Exec value split into arguments as the Desktop Entry Specification quotes them; none
    // when the quoting is broken.
    static std::optional<QStringList> splitExec(const QString& exec);

private:
    static QString unescapeValue(const QString& value);
    static QString findProgram(const QString& program);

    QString m_file;
    QString m_tryExec;
    QStringList m_exec;
    QStringList m_mimeTypes;
};
