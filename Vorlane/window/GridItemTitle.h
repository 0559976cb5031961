#pragma once

#include <QColor>
#include <QFont>
#include <QStringList>

#include <optional>

class QPainter;
class QRect;
class QRectF;

// The name under a grid item's picture: wrapped at word boundaries onto at most two lines, the
// second shortened in the middle when the name needs more (so the end of the name, usually its
// type, stays readable). Laid out two points taller than its lines, as the field it stands in.
class GridItemTitle
{
public:
    static constexpr int maximumLines = 2;
    static constexpr int extraHeight = 2;
    static constexpr qreal backgroundRadius = 3;

    GridItemTitle(const QString& text, const QFont& font, int width);
    // The same, laid out once and kept: a scrolling grid draws the same titles every frame.
    // Main thread only.
    static GridItemTitle laidOut(const QString& text, const QFont& font, int width);

    const QStringList& lines() const { return m_lines; }
    // Height of the field: the lines and the extra two points.
    int height() const;
    // Width of the widest line.
    int textWidth() const { return m_textWidth; }

    // The rounded marker that hugs the text laid out in field.
    QRectF markerRect(const QRect& field) const;
    // Draws the lines centred in field; with a background colour, on that marker.
    void draw(QPainter* painter, const QRect& field, const QColor& textColor,
              const std::optional<QColor>& background) const;

private:
    QFont m_font;
    int m_width;
    QStringList m_lines;
    int m_textWidth = 0;
    int m_lineSpacing = 0;
};
