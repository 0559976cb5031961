#pragma once

class Scrubber;

// Told what the user does with a scrubber.
class ScrubberDelegate
{
public:
    virtual ~ScrubberDelegate() = default;

    // An item was touched or clicked.
    virtual void didSelectItemAtIndex(Scrubber* scrubber, int index) = 0;
    // A touch, click or drag on the scrubber has ended, whatever it did.
    virtual void didFinishInteractingWithScrubber(Scrubber* scrubber) = 0;
};
