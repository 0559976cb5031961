#include "HotKeys/Name.h"

#include "HotKeys/CarbonHotKeys.h"
#include "HotKeys/HotKeys.h"

namespace HotKeys {

Name::Name(QString rawValue, Purpose purpose)
    : m_rawValue(std::move(rawValue))
    , m_purpose(std::move(purpose))
{}

Name::Name(QString rawValue, Shortcut defaultShortcut, Purpose purpose)
    : m_rawValue(std::move(rawValue))
    , m_defaultShortcut(defaultShortcut)
    , m_purpose(std::move(purpose))
{
    if (!shortcutStore().value(storageKey()).isValid())
        setShortcutForName(defaultShortcut, *this);
    CarbonHotKeys::installMenuTrackingObservers();
}

QString Name::storageKey() const
{
    return QStringLiteral("HotKeys_") + m_rawValue;
}

} // namespace HotKeys
