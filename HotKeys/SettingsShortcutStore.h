#pragma once

#include "HotKeys/ShortcutStore.h"

namespace HotKeys {

// The application's settings file where Qt keeps it: $XDG_CONFIG_HOME/<organization>/
// <application>.conf, as QCoreApplication's organization and application names say (without an
// organization, $XDG_CONFIG_HOME/<application>.conf). The path is worked out on every use, so a
// changed XDG_CONFIG_HOME takes effect at once.
class SettingsShortcutStore : public ShortcutStore
{
public:
    static QString filePath();

    QVariant value(const QString& key) const override;
    void setValue(const QString& key, const QVariant& value) override;
    void remove(const QString& key) override;
};

} // namespace HotKeys
