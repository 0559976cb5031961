#include "ButtonSegmentedCell.h"

#include "Appearance.h"
#include "ImageNamed.h"

#include <QCoreApplication>
#include <QKeySequence>
#include <QPainter>

#include <cmath>

namespace {
// The artwork's own size, in points.
constexpr QSize segmentImageSize{16, 16};
} // namespace

QString ButtonSegmentedCell::imageName(int segment, bool selected, const QString& style)
{
    const QString kind = segment == 0 ? QStringLiteral("List") : QStringLiteral("Grid");
    return kind + (selected ? QStringLiteral("Hover_") : QStringLiteral("_")) + style;
}

QString ButtonSegmentedCell::toolTip(int segment)
{
    const QKeySequence shortcut(segment == 0 ? QStringLiteral("Ctrl+1") : QStringLiteral("Ctrl+2"));
    const char* const kind = segment == 0
                                 ? QT_TRANSLATE_NOOP("ButtonSegmentedCell", "List View: %1")
                                 : QT_TRANSLATE_NOOP("ButtonSegmentedCell", "Grid View: %1");
    return QCoreApplication::translate("ButtonSegmentedCell", kind)
        .arg(shortcut.toString(QKeySequence::NativeText));
}

void ButtonSegmentedCell::drawSegment(QPainter* painter, int segment, const QRect& frame,
                                      bool selected)
{
    const QIcon image = imageNamed(imageName(segment, selected, appearanceStyle()));
    if (image.isNull())
        return;
    const QRectF bounds(frame);
    const QPointF origin(std::floor(bounds.center().x() - segmentImageSize.width() * 0.5),
                         std::floor(bounds.center().y() - segmentImageSize.height() * 0.5));
    image.paint(painter, QRect(origin.toPoint(), segmentImageSize));
}
