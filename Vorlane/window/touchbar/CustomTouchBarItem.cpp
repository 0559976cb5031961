#include "CustomTouchBarItem.h"

CustomTouchBarItem::~CustomTouchBarItem()
{
    // A view no strip ever took in has no other owner.
    if (m_view && !m_view->parent())
        delete m_view.data();
}

void CustomTouchBarItem::setView(QWidget* view)
{
    m_view = view;
    if (view) {
        view->setObjectName(identifier());
        if (!customizationLabel().isEmpty())
            view->setAccessibleName(customizationLabel());
    }
}
