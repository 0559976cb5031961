#pragma once

#include "ScrubberDataSource.h"
#include "ScrubberDelegate.h"
#include "TouchBar.h"
#include "TouchBarDelegate.h"

#include <QPointer>

class PopoverTouchBarItem;

// The files strip: the documents of the application touched on the applications strip, each
// with its icon and name, and a "Clear Files" button. Touching a document opens it with the
// application that recorded it; the window and the strip stay. "Clear Files" clears that
// application's record and closes the strip.
class PopoverTouchBar : public TouchBar,
                        public TouchBarDelegate,
                        public ScrubberDataSource,
                        public ScrubberDelegate
{
    Q_OBJECT

public:
    static constexpr QSize itemSize{150, 30};
    static constexpr int itemSpacing = 2;

    explicit PopoverTouchBar(QWidget* parent = nullptr);
    ~PopoverTouchBar() override;

    // The popover item whose popover this strip is.
    PopoverTouchBarItem* presentingItem() const;
    void setPresentingItem(PopoverTouchBarItem* item);

    TouchBarItem* makeItemForIdentifier(TouchBar* touchBar, const QString& identifier) override;
    int numberOfItemsForScrubber(Scrubber* scrubber) override;
    ScrubberItemView* viewForItemAtIndex(Scrubber* scrubber, int index) override;
    void didFinishInteractingWithScrubber(Scrubber* scrubber) override;
    void didSelectItemAtIndex(Scrubber* scrubber, int index) override;

    // "Clear Files".
    void actionHandler();

private:
    TouchBarItem* makeClearButtonItem(const QString& identifier);
    TouchBarItem* makeFileScrubberItem(const QString& identifier);

    QPointer<PopoverTouchBarItem> m_presentingItem;
};
