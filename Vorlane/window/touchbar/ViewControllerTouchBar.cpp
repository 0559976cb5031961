#include "ViewControllerTouchBar.h"

#include "AppIconCache.h"
#include "AppsTableViewController.h"
#include "PopoverScrubber.h"
#include "PopoverTouchBar.h"
#include "PopoverTouchBarItem.h"
#include "ScrubberImageItemView.h"
#include "TouchBarIdentifiers.h"
#include "TouchBarScrubbers.h"
#include "VorlaneController.h"

namespace {
constexpr int appIconSize = 30;
const char* const appsListLabel = QT_TRANSLATE_NOOP("ViewControllerTouchBar", "Apps List");
} // namespace

ViewControllerTouchBar::ViewControllerTouchBar(AppsTableViewController* appsList, QObject* parent)
    : QObject(parent)
    , m_appsList(appsList)
{
    if (appsList)
        connect(appsList, &AppsTableViewController::selectionChanged, this,
                &ViewControllerTouchBar::applicationsSelectionChanged);
}

ViewControllerTouchBar::~ViewControllerTouchBar()
{
    // The applications scrubber may outlive this content; it must not call back here.
    PopoverScrubber* scrubber = appScrubberIfMade();
    if (!scrubber)
        return;
    if (scrubber->dataSource() == this)
        scrubber->setDataSource(nullptr);
    if (scrubber->delegate() == this)
        scrubber->setDelegate(nullptr);
}

TouchBar* ViewControllerTouchBar::makeTouchBar()
{
    auto* touchBar = new TouchBar;
    touchBar->setDelegate(this);
    touchBar->setCustomizationIdentifier(TouchBarIdentifier::appTouchBar);
    touchBar->setDefaultItemIdentifiers({TouchBarIdentifier::appScrubber});
    touchBar->setCustomizationAllowedItemIdentifiers({TouchBarIdentifier::appScrubber});
    return touchBar;
}

TouchBarItem* ViewControllerTouchBar::makeItemForIdentifier(TouchBar*, const QString& identifier)
{
    if (identifier != TouchBarIdentifier::appScrubber)
        return nullptr;
    auto* item = new PopoverTouchBarItem(identifier);
    item->setCollapsedRepresentationLabel(tr(appsListLabel));
    item->setCustomizationLabel(tr(appsListLabel));

    PopoverScrubber* scrubber = appScrubber();
    scrubber->setObjectName(identifier);
    scrubber->registerItemFactory(TouchBarIdentifier::appIcon,
                                  [] { return new ScrubberImageItemView; });
    scrubber->setSelectionBackgroundStyle(Scrubber::SelectionBackgroundStyle::rounded);
    scrubber->setShowsAdditionalContentIndicators(true);
    scrubber->setDelegate(this);
    scrubber->setDataSource(this);
    scrubber->setPresentingItem(item);
    // The strip starts out marking the application the list shows.
    if (m_appsList)
        scrubber->setSelectedIndex(m_appsList->selectedRow());
    scrubber->setScrubberLayout(ScrubberFlowLayout(itemSize, itemSpacing));

    item->setCollapsedRepresentation(scrubber);
    auto* files = new PopoverTouchBar;
    files->setPresentingItem(item);
    item->setPopoverTouchBar(files);
    return item;
}

int ViewControllerTouchBar::numberOfItemsForScrubber(Scrubber*)
{
    return static_cast<int>(VorlaneController::shared().recentApps().size());
}

ScrubberItemView* ViewControllerTouchBar::viewForItemAtIndex(Scrubber* scrubber, int index)
{
    ScrubberItemView* view = scrubber->makeItemWithIdentifier(TouchBarIdentifier::appIcon);
    auto* imageView = qobject_cast<ScrubberImageItemView*>(view);
    const QList<RecentApp>& apps = VorlaneController::shared().recentApps();
    if (!imageView || index < 0 || index >= apps.size()) {
        delete view;
        return new ScrubberImageItemView;
    }
    const RecentApp& app = apps.at(index);
    imageView->setImage(
        AppIconCache::shared().pixmap(app.icon(), appIconSize, scrubber->devicePixelRatioF()));
    imageView->setImageAlignment(Qt::AlignCenter);
    imageView->setAccessibleName(app.appName());
    return imageView;
}

void ViewControllerTouchBar::didFinishInteractingWithScrubber(Scrubber* scrubber)
{
    scrubber->setSelectedIndex(-1);
}

void ViewControllerTouchBar::didSelectItemAtIndex(Scrubber* scrubber, int index)
{
    const QList<RecentApp>& apps = VorlaneController::shared().recentApps();
    if (index < 0 || index >= apps.size())
        return;
    const RecentApp touched = apps.at(index);
    // The list's own selection handling shows the application's files in the window.
    if (m_appsList)
        m_appsList->selectRow(index);
    touchBarSelectedApp = {touched};
    if (Scrubber* files = fileScrubberIfMade())
        files->reloadData();
    auto* popoverScrubber = qobject_cast<PopoverScrubber*>(scrubber);
    if (popoverScrubber && popoverScrubber->presentingItem())
        popoverScrubber->presentingItem()->showPopover();
}

void ViewControllerTouchBar::applicationsSelectionChanged()
{
    PopoverScrubber* scrubber = appScrubberIfMade();
    if (scrubber && scrubber->presentingItem())
        scrubber->presentingItem()->dismissPopover();
}
