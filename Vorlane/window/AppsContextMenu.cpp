#include "AppsContextMenu.h"

#include "ApplicationLauncher.h"
#include "Diagnostics.h"
#include "Selection.h"
#include "VorlaneController.h"

namespace {
const RecentApp* contextMenuApp()
{
    const QList<RecentApp>& apps = VorlaneController::shared().recentApps();
    if (contextMenuAppIndex < 0 || contextMenuAppIndex >= apps.size())
        return nullptr;
    return &apps.at(contextMenuAppIndex);
}
} // namespace

AppsContextMenu::AppsContextMenu(QWidget* parent)
    : QMenu(parent)
    , m_openItem(addAction(QStringLiteral("Open"), this, &AppsContextMenu::launchApp))
    , m_clearItem(
          addAction(QStringLiteral("Clear Recent Documents"), this, &AppsContextMenu::clearFiles))
{
    setObjectName(QStringLiteral("AppsContextMenu"));
}

void AppsContextMenu::launchApp()
{
    if (const RecentApp* app = contextMenuApp())
        ApplicationLauncher::shared().launch(app->sourceApp());
}

void AppsContextMenu::clearFiles()
{
    const RecentApp* entry = contextMenuApp();
    if (!entry)
        return;
    // A copy: clearing may rebuild the store under the entry. The list changes when the store
    // rebuilds after the deletion, not here.
    const RecentApp app = *entry;
    if (!VorlaneController::shared().clearFiles(app))
        Diagnostics::standardError()(QStringLiteral("Unable to delete file at path"));
}
