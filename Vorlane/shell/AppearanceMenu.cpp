#include "AppearanceMenu.h"

#include "DefaultsKeys.h"
#include "NotificationCenter.h"
#include "UserDefaults.h"

#include <QComboBox>

namespace {
// The items by their place, which stays when their titles are translated.
enum Item
{
    systemItem,
    lightItem,
    darkItem
};
} // namespace

namespace AppearanceMenu {

void select(QComboBox* menu)
{
    const UserDefaults& defaults = UserDefaults::standard();
    // Absent counts as "system", as it does for the window's look.
    const QString appearance = defaults.objectIsPresent(DefaultsKey::appearance)
                                   ? defaults.stringForKey(DefaultsKey::appearance)
                                   : QStringLiteral("system");
    if (appearance == u"system")
        menu->setCurrentIndex(systemItem);
    else
        menu->setCurrentIndex(appearance == u"light" ? lightItem : darkItem);
}

void store(const QComboBox* menu, QObject* poster)
{
    const int item = menu->currentIndex();
    const QString appearance = item == lightItem  ? QStringLiteral("light")
                               : item == darkItem ? QStringLiteral("dark")
                                                  : QStringLiteral("system");
    UserDefaults::standard().setObject(DefaultsKey::appearance, appearance);
    NotificationCenter::defaultCenter().post(NotificationName::appearanceChanged,
                                             QVariant::fromValue(poster));
}

} // namespace AppearanceMenu
