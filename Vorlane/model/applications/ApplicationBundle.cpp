#include "ApplicationBundle.h"

#include "DesktopEntry.h"
#include "PropertyList.h"

#include <QFileInfo>

namespace {
void readDesktopEntry(const QString& path, QString* name, QString* icon)
{
    const std::shared_ptr<const DesktopEntry> entry = DesktopEntry::load(path);
    if (!entry || !entry->hasMainGroup())
        return;
    if (const QString localized = entry->localizedValue(QStringLiteral("Name"));
        !localized.isEmpty())
        *name = localized;
    *icon = entry->value(QStringLiteral("Icon"));
}

void readInfoDictionary(const QString& bundlePath, QString* name, QString* icon)
{
    const std::optional<QVariant> info =
        PropertyList::readFile(bundlePath + QStringLiteral("/Contents/Info.plist"));
    if (!info)
        return;
    const QVariantMap dictionary = info->toMap();
    const QVariant executable = dictionary.value(QStringLiteral("CFBundleExecutable"));
    if (executable.metaType() == QMetaType::fromType<QString>())
        *name = executable.toString();
    const QString iconFile = dictionary.value(QStringLiteral("CFBundleIconFile")).toString();
    if (!iconFile.isEmpty() && !iconFile.contains(u'/'))
        *icon = bundlePath + QStringLiteral("/Contents/Resources/") + iconFile;
}
} // namespace

ApplicationBundle ApplicationBundle::atPath(const QString& path)
{
    ApplicationBundle bundle;
    if (path.isEmpty())
        return bundle;
    if (path.endsWith(QStringLiteral(".desktop")))
        readDesktopEntry(path, &bundle.m_displayName, &bundle.m_iconName);
    else if (QFileInfo(path).isDir())
        readInfoDictionary(path, &bundle.m_displayName, &bundle.m_iconName);
    return bundle;
}
