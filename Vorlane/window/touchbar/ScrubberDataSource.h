#pragma once

class Scrubber;
class ScrubberItemView;

// What a scrubber shows: how many items, and the view of each.
class ScrubberDataSource
{
public:
    virtual ~ScrubberDataSource() = default;

    virtual int numberOfItemsForScrubber(Scrubber* scrubber) = 0;
    // A view for the item; the scrubber takes it over.
    virtual ScrubberItemView* viewForItemAtIndex(Scrubber* scrubber, int index) = 0;
};
