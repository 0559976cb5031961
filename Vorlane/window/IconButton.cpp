#include "IconButton.h"

#include "ImageNamed.h"
#include "SharedReferences.h"
#include "ThemePalette.h"

#include <QPainter>

#include <cmath>

namespace {
constexpr QSize imageSize{16, 16};
} // namespace

IconButton::IconButton(QWidget* parent)
    : QAbstractButton(parent)
{
    setToolTip(tr("Settings"));
    setAccessibleName(tr("Settings"));
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractButton::clicked, this, &IconButton::showPreferences);
}

QString IconButton::currentImageName() const
{
    const QString style =
        paletteDarkFlag.value_or(false) ? QStringLiteral("dark") : QStringLiteral("light");
    return (isDown() ? QStringLiteral("SettingsHover_") : QStringLiteral("Settings_")) + style;
}

void IconButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QIcon image = imageNamed(currentImageName());
    const QPoint origin(static_cast<int>(std::floor(width() * 0.5 - imageSize.width() * 0.5)),
                        static_cast<int>(std::floor(height() * 0.5 - imageSize.height() * 0.5)));
    image.paint(&painter, QRect(origin, imageSize));
}

void IconButton::showPreferences()
{
    if (showPreferencesWindow)
        showPreferencesWindow();
}
