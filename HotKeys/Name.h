#pragma once

#include "HotKeys/Shortcut.h"

#include <QString>

#include <optional>

namespace HotKeys {

// The identity of a user-definable shortcut. Creating a name with a default stores that
// default, once, in a settings file that has nothing at all under the name yet.
class Name
{
public:
    explicit Name(QString rawValue);
    Name(QString rawValue, Shortcut defaultShortcut);

    // The application's one name: Shift-Command-Space, that is Shift+Ctrl+Space here.
    static const Name& toggleApp();

    const QString& rawValue() const { return m_rawValue; }
    const std::optional<Shortcut>& defaultShortcut() const { return m_defaultShortcut; }
    // The settings key: "HotKeys_" followed by the raw value.
    QString storageKey() const;

    friend bool operator==(const Name& a, const Name& b) { return a.m_rawValue == b.m_rawValue; }

private:
    QString m_rawValue;
    std::optional<Shortcut> m_defaultShortcut;
};

inline size_t qHash(const Name& name, size_t seed = 0)
{
    return qHash(name.rawValue(), seed);
}

} // namespace HotKeys
