#pragma once

#include "ApplicationLauncher.h"

// Launches desktop entries with GIO (g_desktop_app_info_new_from_filename and
// g_app_info_launch_uris), which expands the entry's field codes and quotes arguments itself.
class GioApplicationLauncher : public ApplicationLauncher
{
public:
    bool launch(const QString& entryPath, const QList<QUrl>& documents = {},
                QString* error = nullptr) override;
};
