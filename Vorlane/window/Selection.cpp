#include "Selection.h"

#include "AppsTableViewController.h"
#include "SharedReferences.h"
#include "VorlaneController.h"

QList<RecentApp> selectedApp;
qsizetype selectedAppIndex = 0;
qsizetype selectedFileIndex = -1;
QString contextMenuAppName;

void updateSelectedApp()
{
    selectedFileIndex = -1;
    const qsizetype row = sharedAppsViewController ? sharedAppsViewController->selectedRow() : -1;
    selectedAppIndex = row < 0 ? 0 : row;
    selectedApp.clear();
    const QList<RecentApp>& apps = VorlaneController::shared().recentApps();
    // The store is never empty, but a stale row must not read past its end.
    if (selectedAppIndex < apps.size())
        selectedApp.append(apps.at(selectedAppIndex));
}
