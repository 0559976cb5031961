#pragma once

#include <QStringList>

// Where desktop entries are installed: $XDG_DATA_HOME/applications, the user's and the system's
// Flatpak export folders, then each $XDG_DATA_DIRS entry's applications folder, clean and without
// repeats. Read from the environment on every call.
QStringList applicationFolders();
