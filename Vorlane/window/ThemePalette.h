#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

#include <optional>

// The two looks of the window.
enum class AppearanceName
{
    aqua,
    darkAqua
};

// The colours and fonts every list and grid cell reads when it paints, rebuilt whenever the
// window applies a theme. Main thread only.
struct ThemePalette
{
    AppearanceName appearanceName = AppearanceName::aqua;
    // The window's whole background, and the applications pane's a shade apart.
    QColor backgroundColor;
    QColor sidebarColor;
    QColor separatorColor;
    // The edge of the frameless panel.
    QColor windowBorderColor;
    // The selection while its list has the keyboard focus, and the text on it.
    QColor selectionColor;
    QColor selectedTextColor;
    // The outline of the selection in the list that does not have the focus.
    QColor unfocusedSelectionColor;
    // The shade under the pointer.
    QColor hoverColor;
    // The soft marker behind a grid item's picture.
    QColor pictureMarkerColor;
    QColor headerLabelColor;
    QColor gridTitleColor;
    QFont listTitleFont;
    QFont gridTitleFont;
    QFont headerFont;
    QFont gridDateFont;
    QFont pathFont;
    // The widgets' palette for this look.
    QPalette widgetPalette;
};

// Unset until the window first applies a theme; then true for dark, false for light.
extern std::optional<bool> paletteDarkFlag;

// Rebuilds the palette from paletteDarkFlag (light while it is unset).
void rebuildPalette();
const ThemePalette& themePalette();

// The widget palettes of the two looks, on the Fusion style.
QPalette lightWidgetPalette();
QPalette darkWidgetPalette();
