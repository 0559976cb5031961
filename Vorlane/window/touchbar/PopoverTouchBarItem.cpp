#include "PopoverTouchBarItem.h"

#include "TouchBar.h"

PopoverTouchBarItem::PopoverTouchBarItem(const QString& identifier, QObject* parent)
    : TouchBarItem(identifier, parent)
{}

PopoverTouchBarItem::~PopoverTouchBarItem()
{
    // The popover strip may sit in the presenting strip's frame; it goes with its item.
    delete m_popoverTouchBar.data();
}

void PopoverTouchBarItem::setCollapsedRepresentation(QWidget* view)
{
    m_collapsedRepresentation = view;
    if (view && !customizationLabel().isEmpty())
        view->setAccessibleName(customizationLabel());
}

void PopoverTouchBarItem::setCollapsedRepresentationLabel(const QString& label)
{
    m_collapsedRepresentationLabel = label;
}

TouchBar* PopoverTouchBarItem::popoverTouchBar() const
{
    return m_popoverTouchBar;
}

void PopoverTouchBarItem::setPopoverTouchBar(TouchBar* touchBar)
{
    if (m_popoverTouchBar == touchBar)
        return;
    delete m_popoverTouchBar.data();
    m_popoverTouchBar = touchBar;
}

void PopoverTouchBarItem::showPopover()
{
    if (m_popoverShown || !m_popoverTouchBar)
        return;
    m_popoverShown = true;
    Q_EMIT popoverShown();
}

void PopoverTouchBarItem::dismissPopover()
{
    if (!m_popoverShown)
        return;
    m_popoverShown = false;
    Q_EMIT popoverDismissed();
}
