#include "TouchBarScrubbers.h"

#include "PopoverScrubber.h"
#include "VorlaneController.h"

#include <QPointer>

QList<RecentApp> touchBarSelectedApp;

namespace {
QPointer<PopoverScrubber> madeAppScrubber;
QPointer<Scrubber> madeFileScrubber;
} // namespace

PopoverScrubber* appScrubber()
{
    if (!madeAppScrubber)
        madeAppScrubber = new PopoverScrubber;
    return madeAppScrubber;
}

Scrubber* fileScrubber()
{
    if (!madeFileScrubber)
        madeFileScrubber = new Scrubber;
    return madeFileScrubber;
}

PopoverScrubber* appScrubberIfMade()
{
    return madeAppScrubber;
}

Scrubber* fileScrubberIfMade()
{
    return madeFileScrubber;
}

void reloadAppScrubber()
{
    if (madeAppScrubber)
        madeAppScrubber->reloadData();
}

void reloadFileScrubber()
{
    // The rebuild replaced every record: the touched application's is read again.
    if (!touchBarSelectedApp.isEmpty()) {
        const RecentApp* current =
            VorlaneController::shared().appNamed(touchBarSelectedApp.constFirst().name());
        if (current)
            touchBarSelectedApp = {*current};
        else
            touchBarSelectedApp.clear();
    }
    if (madeFileScrubber)
        madeFileScrubber->reloadData();
}
