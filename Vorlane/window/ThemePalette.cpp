#include "ThemePalette.h"

#include <QApplication>

std::optional<bool> paletteDarkFlag;

namespace {
ThemePalette& current()
{
    static ThemePalette palette;
    return palette;
}

QFont systemFont(qreal points, QFont::Weight weight)
{
    QFont font = QApplication::font();
    font.setPointSizeF(points);
    font.setWeight(weight);
    return font;
}

QColor white(qreal alpha)
{
    return QColor::fromRgbF(1, 1, 1, static_cast<float>(alpha));
}

QColor black(qreal alpha)
{
    return QColor::fromRgbF(0, 0, 0, static_cast<float>(alpha));
}

void setColors(QPalette& palette, QPalette::ColorRole role, const QColor& active,
               const QColor& disabled)
{
    palette.setColor(QPalette::Active, role, active);
    palette.setColor(QPalette::Inactive, role, active);
    palette.setColor(QPalette::Disabled, role, disabled);
}
} // namespace

QPalette lightWidgetPalette()
{
    QPalette palette;
    setColors(palette, QPalette::Window, QColor(0xf2, 0xf2, 0xf4), QColor(0xf2, 0xf2, 0xf4));
    setColors(palette, QPalette::WindowText, QColor(0x1d, 0x1d, 0x1f), QColor(0xa0, 0xa0, 0xa5));
    setColors(palette, QPalette::Base, QColor(0xff, 0xff, 0xff), QColor(0xf5, 0xf5, 0xf7));
    setColors(palette, QPalette::AlternateBase, QColor(0xf5, 0xf5, 0xf7), QColor(0xf5, 0xf5, 0xf7));
    setColors(palette, QPalette::Text, QColor(0x1d, 0x1d, 0x1f), QColor(0xa0, 0xa0, 0xa5));
    setColors(palette, QPalette::Button, QColor(0xfb, 0xfb, 0xfd), QColor(0xf0, 0xf0, 0xf2));
    setColors(palette, QPalette::ButtonText, QColor(0x1d, 0x1d, 0x1f), QColor(0xa0, 0xa0, 0xa5));
    setColors(palette, QPalette::Highlight, QColor(0x2f, 0x6f, 0xeb), QColor(0xc8, 0xc8, 0xcc));
    setColors(palette, QPalette::HighlightedText, Qt::white, Qt::white);
    setColors(palette, QPalette::Link, QColor(0x1a, 0x63, 0xd6), QColor(0x8e, 0xa8, 0xd6));
    setColors(palette, QPalette::ToolTipBase, QColor(0xff, 0xff, 0xf4), QColor(0xff, 0xff, 0xf4));
    setColors(palette, QPalette::ToolTipText, QColor(0x1d, 0x1d, 0x1f), QColor(0x1d, 0x1d, 0x1f));
    setColors(palette, QPalette::PlaceholderText, black(0.4), black(0.25));
    setColors(palette, QPalette::Mid, QColor(0xc6, 0xc6, 0xca), QColor(0xd6, 0xd6, 0xda));
    return palette;
}

QPalette darkWidgetPalette()
{
    QPalette palette;
    setColors(palette, QPalette::Window, QColor(0x26, 0x27, 0x2b), QColor(0x26, 0x27, 0x2b));
    setColors(palette, QPalette::WindowText, QColor(0xec, 0xec, 0xee), QColor(0x74, 0x75, 0x7a));
    setColors(palette, QPalette::Base, QColor(0x1e, 0x1f, 0x22), QColor(0x24, 0x25, 0x29));
    setColors(palette, QPalette::AlternateBase, QColor(0x2b, 0x2c, 0x31), QColor(0x2b, 0x2c, 0x31));
    setColors(palette, QPalette::Text, QColor(0xec, 0xec, 0xee), QColor(0x74, 0x75, 0x7a));
    setColors(palette, QPalette::Button, QColor(0x3a, 0x3b, 0x40), QColor(0x30, 0x31, 0x35));
    setColors(palette, QPalette::ButtonText, QColor(0xec, 0xec, 0xee), QColor(0x74, 0x75, 0x7a));
    setColors(palette, QPalette::Highlight, QColor(0x3d, 0x7b, 0xf2), QColor(0x4a, 0x4b, 0x50));
    setColors(palette, QPalette::HighlightedText, Qt::white, Qt::white);
    setColors(palette, QPalette::Link, QColor(0x5e, 0x9c, 0xff), QColor(0x4e, 0x6a, 0x96));
    setColors(palette, QPalette::ToolTipBase, QColor(0x3a, 0x3b, 0x40), QColor(0x3a, 0x3b, 0x40));
    setColors(palette, QPalette::ToolTipText, QColor(0xec, 0xec, 0xee), QColor(0xec, 0xec, 0xee));
    setColors(palette, QPalette::PlaceholderText, white(0.4), white(0.25));
    setColors(palette, QPalette::Mid, QColor(0x48, 0x49, 0x4e), QColor(0x3a, 0x3b, 0x40));
    setColors(palette, QPalette::Light, QColor(0x4a, 0x4b, 0x50), QColor(0x3a, 0x3b, 0x40));
    setColors(palette, QPalette::Dark, QColor(0x18, 0x18, 0x1b), QColor(0x18, 0x18, 0x1b));
    setColors(palette, QPalette::Shadow, QColor(0x0c, 0x0c, 0x0e), QColor(0x0c, 0x0c, 0x0e));
    return palette;
}

void rebuildPalette()
{
    const bool dark = paletteDarkFlag.value_or(false);
    ThemePalette& palette = current();
    palette.appearanceName = dark ? AppearanceName::darkAqua : AppearanceName::aqua;
    palette.widgetPalette = dark ? darkWidgetPalette() : lightWidgetPalette();
    palette.backgroundColor = palette.widgetPalette.color(QPalette::Window);
    palette.sidebarColor = dark ? QColor(0x1f, 0x20, 0x23) : QColor(0xe6, 0xe6, 0xea);
    palette.separatorColor = dark ? black(0.55) : black(0.12);
    palette.windowBorderColor = dark ? QColor(0x4a, 0x4b, 0x51) : QColor(0xb8, 0xb8, 0xbe);
    // The accent and the outline stand out from the lists' backgrounds by more than 3:1.
    palette.selectionColor = palette.widgetPalette.color(QPalette::Active, QPalette::Highlight);
    palette.selectedTextColor =
        palette.widgetPalette.color(QPalette::Active, QPalette::HighlightedText);
    palette.unfocusedSelectionColor = dark ? QColor(0x8a, 0x8a, 0x90) : QColor(0x76, 0x76, 0x7c);
    palette.hoverColor = dark ? white(0.08) : black(0.06);
    palette.pictureMarkerColor = dark ? white(0.14) : black(0.10);
    palette.headerLabelColor = dark ? white(0.48) : black(0.55);
    palette.gridTitleColor = dark ? white(0.95) : black(0.75);
    palette.listTitleFont = systemFont(15 * 0.75, QFont::Normal);
    palette.gridTitleFont = systemFont(13 * 0.75, QFont::Normal);
    palette.headerFont = systemFont(9 * 0.75 + 1, QFont::DemiBold);
    palette.gridDateFont = systemFont(9 * 0.75 + 1, QFont::Medium);
    palette.pathFont = systemFont(11 * 0.75, QFont::Normal);
}

const ThemePalette& themePalette()
{
    return current();
}
