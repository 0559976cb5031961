#include "QuickLookMenuItem.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

QString QuickLookMenuItem::title()
{
    return QCoreApplication::translate("QuickLookMenuItem", "Preview");
}

void QuickLookMenuItem::tagItem(QMenu* menu)
{
    if (!menu || item(menu))
        return;
    for (QAction* action : menu->actions())
        if (action->text() == title()) {
            action->setData(tag);
            return;
        }
}

QAction* QuickLookMenuItem::item(const QMenu* menu)
{
    if (!menu)
        return nullptr;
    for (QAction* action : menu->actions())
        if (action->data().toInt() == tag)
            return action;
    return nullptr;
}

void QuickLookMenuItem::retitle(QMenu* menu, const QString& fileName)
{
    if (QAction* action = item(menu))
        // An ampersand in a name is text, not a mnemonic.
        action->setText(QCoreApplication::translate("QuickLookMenuItem", "Preview \"%1\"")
                            .arg(QString(fileName).replace(u'&', QStringLiteral("&&"))));
}
