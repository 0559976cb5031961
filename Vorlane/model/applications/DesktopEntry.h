#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <memory>

// The [Desktop Entry] group of a freedesktop desktop entry file: the Linux stand-in for an
// application bundle's information.
class DesktopEntry
{
public:
    static DesktopEntry parse(QByteArrayView text);
    // Parses the file at path; none when it cannot be read. Parsed files are kept for the process
    // and read again only when the file changes. readableFile, when given, tells whether path is
    // a regular file this process may read, an entry or not.
    static std::shared_ptr<const DesktopEntry> load(const QString& path,
                                                    bool* readableFile = nullptr);

    bool hasMainGroup() const { return m_hasMainGroup; }
    // The value of key exactly as written in the file, escapes undone.
    QString value(const QString& key) const;
    // The value best matching the user's message locale (Name[de_DE], Name[de], Name).
    QString localizedValue(const QString& key) const;

    bool isApplication() const;
    // Hidden=true: the entry was deleted by the user and stands for nothing.
    bool isHidden() const;

    static QStringList localeKeySuffixes(const QString& messagesLocale);
    // The locale messages are shown in: LC_ALL, else LC_MESSAGES, else LANG.
    static QString messagesLocale();

private:
    QHash<QString, QString> m_values;
    bool m_hasMainGroup = false;
};
