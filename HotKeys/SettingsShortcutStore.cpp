#include "HotKeys/SettingsShortcutStore.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>

namespace HotKeys {

QString SettingsShortcutStore::filePath()
{
    const QString organization = QCoreApplication::organizationName();
    const QString application = QCoreApplication::applicationName() + QStringLiteral(".conf");
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           (organization.isEmpty() ? application : organization + u'/' + application);
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
