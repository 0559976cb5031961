#include "AppearanceMenu.h"

#include "DefaultsKeys.h"
#include "NotificationCenter.h"
#include "UserDefaults.h"

#include <QComboBox>

namespace {
const QString lightTitle = QStringLiteral("Light");
const QString darkTitle = QStringLiteral("Dark");
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
        menu->setCurrentIndex(0);
    else
        menu->setCurrentIndex(menu->findText(appearance == u"light" ? lightTitle : darkTitle));
}

void store(const QComboBox* menu, QObject* poster)
{
    const QString title = menu->currentText();
    const QString appearance = title == lightTitle  ? QStringLiteral("light")
                               : title == darkTitle ? QStringLiteral("dark")
                                                    : QStringLiteral("system");
    UserDefaults::standard().setObject(DefaultsKey::appearance, appearance);
    NotificationCenter::defaultCenter().post(NotificationName::appearanceChanged,
                                             QVariant::fromValue(poster));
}

} // namespace AppearanceMenu
