#include "AppsContextMenu.h"

#include "ApplicationLauncher.h"
#include "ClearConfirmation.h"
#include "Diagnostics.h"
#include "Selection.h"
#include "VorlaneController.h"

namespace {
const RecentApp* contextMenuApp()
{
    return VorlaneController::shared().appNamed(contextMenuAppName);
}
} // namespace

AppsContextMenu::AppsContextMenu(QWidget* parent)
    : QMenu(parent)
    , m_openItem(addAction(tr("Open"), this, &AppsContextMenu::launchApp))
    , m_clearItem(addAction(tr("Clear Recent Documents"), this, &AppsContextMenu::clearFiles))
{
    setObjectName(QStringLiteral("AppsContextMenu"));
    // A greyed-out clear says why in its tool tip.
    setToolTipsVisible(true);
    connect(this, &QMenu::aboutToShow, this, &AppsContextMenu::updateClearItem);
}

void AppsContextMenu::updateClearItem()
{
    const RecentApp* app = contextMenuApp();
    const QString reason = app ? VorlaneController::shared().notClearedBecause(*app) : QString();
    m_clearItem->setEnabled(reason.isEmpty());
    m_clearItem->setToolTip(reason);
    m_clearItem->setStatusTip(reason);
}

void AppsContextMenu::launchApp()
{
    if (const RecentApp* app = contextMenuApp())
        ApplicationLauncher::shared().launch(app->sourceApp());
}

void AppsContextMenu::clearFiles()
{
    const RecentApp* app = contextMenuApp();
    if (!app)
        return;
    // Asked first. The shared record's lock can keep a clear waiting for seconds: it runs off
    // the window's thread, and the list changes when the store rebuilds after it.
    ClearConfirmation::ask(*app, parentWidget(), [](bool cleared) {
        if (!cleared)
            Diagnostics::standardError()(QStringLiteral("Unable to delete file at path"));
    });
}
