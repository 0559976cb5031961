#pragma once

#include "ScrubberDataSource.h"
#include "ScrubberDelegate.h"
#include "TouchBarDelegate.h"

#include <QObject>
#include <QPointer>
#include <QSize>

class AppsTableViewController;

// The window content's touch strip: its applications as a row of icons, newest first. Touching
// one selects it in the applications list, as a click there would, and opens the files strip
// with its documents over the row. A selection made in the list closes the files strip.
class ViewControllerTouchBar : public QObject,
                               public TouchBarDelegate,
                               public ScrubberDataSource,
                               public ScrubberDelegate
{
    Q_OBJECT

public:
    static constexpr QSize itemSize{90, 30};
    static constexpr int itemSpacing = 1;

    ViewControllerTouchBar(AppsTableViewController* appsList, QObject* parent = nullptr);
    ~ViewControllerTouchBar() override;

    // A new applications strip; the caller owns it.
    TouchBar* makeTouchBar();

    TouchBarItem* makeItemForIdentifier(TouchBar* touchBar, const QString& identifier) override;
    int numberOfItemsForScrubber(Scrubber* scrubber) override;
    ScrubberItemView* viewForItemAtIndex(Scrubber* scrubber, int index) override;
    void didFinishInteractingWithScrubber(Scrubber* scrubber) override;
    void didSelectItemAtIndex(Scrubber* scrubber, int index) override;

private:
    void applicationsSelectionChanged();

    QPointer<AppsTableViewController> m_appsList;
};
