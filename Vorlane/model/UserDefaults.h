#pragma once

#include <QMutex>
#include <QString>
#include <QVariant>

#include <memory>

class QSettings;

// Settings stores with the semantics the program relies on: "is an object present", strings,
// Booleans and removal. The application domain is $XDG_CONFIG_HOME/ostrel/Vorlane.conf; the
// global domain, for settings shared by all programs, is $XDG_CONFIG_HOME/ostrel/
// GlobalPreferences.conf. While the global file does not exist the global domain answers as Linux
// desktops behave: file extensions are always shown, so "AppleShowAllExtensions" is present.
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

    // Reads the store's file again, taking in changes other programs made.
    void reload();
    QString filePath() const;

private:
    // The store is read by rebuilds on a worker thread and written by the window.
    mutable QMutex m_mutex;
    Domain m_domain;
    QString m_path;
    bool m_fileExisted = false;
    std::unique_ptr<QSettings> m_settings;
};
