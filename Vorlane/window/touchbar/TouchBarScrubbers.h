#pragma once

#include "RecentApp.h"

#include <QList>

class PopoverScrubber;
class Scrubber;

// What the two touch strips share across the program. Main thread only.

// The applications strip's scrubber and the files strip's, each made on first use and kept as
// long as the strip that shows it.
PopoverScrubber* appScrubber();
Scrubber* fileScrubber();
// The same, but null while not made.
PopoverScrubber* appScrubberIfMade();
Scrubber* fileScrubberIfMade();

// The application last touched on the applications strip, as the only element; empty until one
// is touched. The files strip shows its documents.
extern QList<RecentApp> touchBarSelectedApp;

// The store was rebuilt: the scrubbers already made show its new records. The touched
// application is looked up again by its identity; when it is gone, none is touched.
void reloadAppScrubber();
void reloadFileScrubber();
