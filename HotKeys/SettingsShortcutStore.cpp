#include "HotKeys/SettingsShortcutStore.h"

#include <QSettings>
#include <QStandardPaths>

namespace HotKeys {

QString SettingsShortcutStore::filePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/ostrel/Vorlane.conf");
}

QVariant SettingsShortcutStore::value(const QString& key) const
{
    const QSettings settings(filePath(), QSettings::NativeFormat);
    return settings.value(key);
}

void SettingsShortcutStore::setValue(const QString& key, const QVariant& value)
{
    QSettings settings(filePath(), QSettings::NativeFormat);
    settings.setValue(key, value);
}

void SettingsShortcutStore::remove(const QString& key)
{
    QSettings settings(filePath(), QSettings::NativeFormat);
    settings.remove(key);
}

} // namespace HotKeys
