#include "PopoverTouchBar.h"

#include "ClearConfirmation.h"
#include "CustomTouchBarItem.h"
#include "FileActions.h"
#include "FileIconCache.h"
#include "IconTextItemView.h"
#include "PopoverTouchBarItem.h"
#include "Scrubber.h"
#include "TelemetryClient.h"
#include "TouchBarIdentifiers.h"
#include "TouchBarScrubbers.h"
#include "VorlaneController.h"

#include <QFileInfo>
#include <QPushButton>

namespace {
constexpr int fileIconSize = 30;

const QList<RecentFile>& touchedAppFiles()
{
    static const QList<RecentFile> none;
    return touchBarSelectedApp.isEmpty() ? none : touchBarSelectedApp.constFirst().recentFiles();
}

QPixmap iconForFile(const RecentFile& file, const QWidget* view)
{
    const QString name = QFileInfo(file.filePath().path()).fileName();
    return FileIconCache::shared().pixmapForFileName(name, fileIconSize, view->devicePixelRatioF());
}
} // namespace

PopoverTouchBar::PopoverTouchBar(QWidget* parent)
    : TouchBar(parent)
{
    setDelegate(this);
    setDefaultItemIdentifiers({TouchBarIdentifier::fileScrubber, TouchBarIdentifier::clearButton});
}

PopoverTouchBar::~PopoverTouchBar()
{
    // The files scrubber outlives a strip that gave it away; it must not call back here.
    Scrubber* scrubber = fileScrubberIfMade();
    if (!scrubber)
        return;
    if (scrubber->dataSource() == this)
        scrubber->setDataSource(nullptr);
    if (scrubber->delegate() == this)
        scrubber->setDelegate(nullptr);
}

PopoverTouchBarItem* PopoverTouchBar::presentingItem() const
{
    return m_presentingItem;
}

void PopoverTouchBar::setPresentingItem(PopoverTouchBarItem* item)
{
    m_presentingItem = item;
}

TouchBarItem* PopoverTouchBar::makeItemForIdentifier(TouchBar*, const QString& identifier)
{
    if (identifier == TouchBarIdentifier::clearButton)
        return makeClearButtonItem(identifier);
    if (identifier == TouchBarIdentifier::fileScrubber)
        return makeFileScrubberItem(identifier);
    return nullptr;
}

TouchBarItem* PopoverTouchBar::makeClearButtonItem(const QString& identifier)
{
    auto* item = new CustomTouchBarItem(identifier);
    item->setCustomizationLabel(tr("Clear Files"));
    auto* button = new QPushButton(tr("Clear Files"));
    button->setFocusPolicy(Qt::NoFocus);
    button->setMinimumHeight(itemSize.height());
    connect(button, &QPushButton::clicked, this, &PopoverTouchBar::actionHandler);
    item->setView(button);
    return item;
}

TouchBarItem* PopoverTouchBar::makeFileScrubberItem(const QString& identifier)
{
    Scrubber* scrubber = fileScrubber();
    scrubber->registerItemFactory(TouchBarIdentifier::fileItem,
                                  [] { return new IconTextItemView; });
    scrubber->setShowsAdditionalContentIndicators(true);
    scrubber->setSelectionBackgroundStyle(Scrubber::SelectionBackgroundStyle::rounded);
    scrubber->setScrubberLayout(ScrubberFlowLayout(itemSize, itemSpacing));
    scrubber->setDelegate(this);
    scrubber->setDataSource(this);
    auto* item = new PopoverTouchBarItem(identifier);
    item->setCollapsedRepresentation(scrubber);
    scrubber->setObjectName(identifier);
    return item;
}

int PopoverTouchBar::numberOfItemsForScrubber(Scrubber*)
{
    return static_cast<int>(touchedAppFiles().size());
}

ScrubberItemView* PopoverTouchBar::viewForItemAtIndex(Scrubber* scrubber, int index)
{
    const QList<RecentFile>& files = touchedAppFiles();
    if (index < 0 || index >= files.size())
        return nullptr;
    const RecentFile& file = files.at(index);
    const QPixmap icon = iconForFile(file, scrubber);
    ScrubberItemView* view = scrubber->makeItemWithIdentifier(TouchBarIdentifier::fileItem);
    if (auto* item = qobject_cast<IconTextItemView*>(view)) {
        item->setImage(icon);
        item->setText(file.name());
        return item;
    }
    delete view;
    return new IconTextItemView(QRect(0, 0, 50, 30), icon, file.name());
}

void PopoverTouchBar::didFinishInteractingWithScrubber(Scrubber* scrubber)
{
    scrubber->setSelectedIndex(-1);
}

void PopoverTouchBar::didSelectItemAtIndex(Scrubber*, int index)
{
    TelemetryClient::shared().trackEvent(QStringLiteral("fileOpenedWithTouchBar"));
    if (touchBarSelectedApp.isEmpty())
        return;
    // The window stays, whatever its mode, and so does this strip.
    openRecentFileKeepingWindow(touchBarSelectedApp.constFirst(), index);
}

void PopoverTouchBar::actionHandler()
{
    if (touchBarSelectedApp.isEmpty())
        return;
    // Asked first; then the store's own rule: one application's entries out of a shared file,
    // or the whole file the entry was read from. The strips reload when the store rebuilds.
    ClearConfirmation::ask(touchBarSelectedApp.constFirst(), this);
    if (m_presentingItem)
        m_presentingItem->dismissPopover();
}
