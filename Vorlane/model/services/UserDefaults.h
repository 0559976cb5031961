#pragma once

#include <QHash>
#include <QMutex>
#include <QString>
#include <QVariant>

#include <map>
#include <memory>
#include <optional>

class DeferredTask;

// Settings stores with the semantics the program relies on: "is an object present", strings,
// Booleans and removal. The application domain is $XDG_CONFIG_HOME/ostrel/Vorlane.conf; the
// global domain, for settings shared by all programs, is $XDG_CONFIG_HOME/ostrel/
// GlobalPreferences.conf. While the global file does not exist the global domain answers as Linux
// desktops behave: file extensions are always shown, so "AppleShowAllExtensions" is present.
//
// Values are answered from memory. A write that changes nothing (the same text as stored) is
// dropped; the others reach the file a moment later, several at once, on a thread of the store's
// own, so the window never waits for the disk. Whatever is still to be written is written when
// the store goes (at the end of the program), and before the file is read again.
class UserDefaults
{
public:
    enum class Domain
    {
        Application,
        Global
    };

    explicit UserDefaults(Domain domain);
    ~UserDefaults();
    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    // The process-wide stores, read from disk on first use and by reload().
    static UserDefaults& standard();
    static UserDefaults& global();

    bool objectIsPresent(const QString& key) const;
    QVariant object(const QString& key) const;
    // The value as text; empty when absent. Booleans read "true"/"false", numbers their digits.
    QString stringForKey(const QString& key) const;
    // Booleans are stored as the text "true"/"false"; absent keys read false.
    bool boolForKey(const QString& key) const;

    void setObject(const QString& key, const QVariant& value);
    void removeObject(const QString& key);

    // Writes what is still to be written, and returns once it is on disk.
    void synchronize();
    // Writes what is still to be written, then reads the store's file again, taking in changes
    // other programs made.
    void reload();
    QString filePath() const;

private:
    // A value to store, or none for a removal.
    using Changes = std::map<QString, std::optional<QVariant>>;

    void change(const QString& key, const std::optional<QVariant>& value);

    // The values are read by rebuilds on a worker thread and written by the window.
    mutable QMutex m_mutex;
    // One write of the file at a time, so synchronize() waits for a write under way.
    QMutex m_writeMutex;
    Domain m_domain;
    QString m_path;
    bool m_fileExisted = false;
    QHash<QString, QVariant> m_values;
    Changes m_pending;
    QString m_pendingPath;
    std::unique_ptr<DeferredTask> m_writer;
};
