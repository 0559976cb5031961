#pragma once

#include <QString>

class TouchBar;
class TouchBarItem;

// Makes the items of a touch strip.
class TouchBarDelegate
{
public:
    virtual ~TouchBarDelegate() = default;

    // A new item for identifier, which the strip takes over; null when there is none.
    virtual TouchBarItem* makeItemForIdentifier(TouchBar* touchBar, const QString& identifier) = 0;
};
