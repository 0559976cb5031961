#include "PopoverScrubber.h"

#include "PopoverTouchBarItem.h"

PopoverScrubber::PopoverScrubber(QWidget* parent)
    : Scrubber(parent)
{}

PopoverTouchBarItem* PopoverScrubber::presentingItem() const
{
    return m_presentingItem;
}

void PopoverScrubber::setPresentingItem(PopoverTouchBarItem* item)
{
    m_presentingItem = item;
}
