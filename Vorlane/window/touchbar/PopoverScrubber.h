#pragma once

#include "Scrubber.h"

#include <QPointer>

class PopoverTouchBarItem;

// The applications strip's scrubber: it knows the popover item that shows it, whose popover it
// opens when an application is touched and which the applications list closes.
class PopoverScrubber : public Scrubber
{
    Q_OBJECT

public:
    explicit PopoverScrubber(QWidget* parent = nullptr);

    PopoverTouchBarItem* presentingItem() const;
    void setPresentingItem(PopoverTouchBarItem* item);

private:
    QPointer<PopoverTouchBarItem> m_presentingItem;
};
