#include "TouchBarItem.h"

#include <QWidget>

TouchBarItem::TouchBarItem(const QString& identifier, QObject* parent)
    : QObject(parent)
    , m_identifier(identifier)
{
    setObjectName(identifier);
}

void TouchBarItem::setCustomizationLabel(const QString& label)
{
    m_customizationLabel = label;
    if (QWidget* shown = view())
        shown->setAccessibleName(label);
}
