#include "HotKeys/Name.h"

#include "HotKeys/CarbonHotKeys.h"
#include "HotKeys/CarbonKeyCodes.h"
#include "HotKeys/HotKeys.h"

namespace HotKeys {

Name::Name(QString rawValue)
    : m_rawValue(std::move(rawValue))
{}

Name::Name(QString rawValue, Shortcut defaultShortcut)
    : m_rawValue(std::move(rawValue))
    , m_defaultShortcut(defaultShortcut)
{
    if (!shortcutStore().value(storageKey()).isValid())
        setShortcutForName(defaultShortcut, *this);
    CarbonHotKeys::installMenuTrackingObservers();
}

const Name& Name::toggleApp()
{
    // Created on first use, after the application object exists.
    static const Name name(
        QStringLiteral("toggleApp"),
        Shortcut{CarbonKey::Space, CarbonModifier::cmdKey | CarbonModifier::shiftKey});
    return name;
}

QString Name::storageKey() const
{
    return QStringLiteral("HotKeys_") + m_rawValue;
}

} // namespace HotKeys
