#pragma once

#include <QString>
#include <QVariant>

namespace HotKeys {

// Where shortcuts are kept: one value per key, as the application's user defaults hold them.
// The application may install its own store; the default is SettingsShortcutStore.
class ShortcutStore
{
public:
    virtual ~ShortcutStore() = default;

    // An invalid QVariant when nothing at all is stored under the key.
    virtual QVariant value(const QString& key) const = 0;
    virtual void setValue(const QString& key, const QVariant& value) = 0;
    virtual void remove(const QString& key) = 0;
};

} // namespace HotKeys
