#pragma once

#include <QIcon>
#include <QString>

// The program's own artwork by name ("List_light", "Settings_dark", "MenuBar", ...); a null
// icon for a name it does not have.
QIcon imageNamed(const QString& name);

// The name followed by "_" and the current "AppearanceStyle": "List" gives "List_dark".
QString styledImageName(const QString& prefix);
