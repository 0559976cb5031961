#pragma once

#include "HotKeys/Shortcut.h"

#include <QString>

#include <optional>

namespace HotKeys {

// The identity of a user-definable shortcut. Creating a name with a default stores that
// default, once, in a settings file that has nothing at all under the name yet. The application
// makes its names and says what each is for.
class Name
{
public:
    // What the desktop and the user are told about the shortcut, both optional: what it does
    // ("Show or hide the window"), for the desktop's list of shortcuts, and the command that does
    // the same ("app --toggle"), for desktops that grant no global shortcut.
    struct Purpose
    {
        QString description;
        QString command;
    };

    explicit Name(QString rawValue, Purpose purpose = {});
    Name(QString rawValue, Shortcut defaultShortcut, Purpose purpose = {});

    const QString& rawValue() const { return m_rawValue; }
    const std::optional<Shortcut>& defaultShortcut() const { return m_defaultShortcut; }
    const Purpose& purpose() const { return m_purpose; }
    // The settings key: "HotKeys_" followed by the raw value.
    QString storageKey() const;

    friend bool operator==(const Name& a, const Name& b) { return a.m_rawValue == b.m_rawValue; }

private:
    QString m_rawValue;
    std::optional<Shortcut> m_defaultShortcut;
    Purpose m_purpose;
};

inline size_t qHash(const Name& name, size_t seed = 0)
{
    return qHash(name.rawValue(), seed);
}

} // namespace HotKeys
