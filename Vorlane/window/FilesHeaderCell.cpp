#include "FilesHeaderCell.h"

#include "ThemePalette.h"

#include <QFontMetrics>
#include <QPainter>

void FilesHeaderCell::draw(QPainter* painter, const QRect& rowRect, const QString& text,
                           bool firstRow)
{
    const ThemePalette& palette = themePalette();
    painter->save();
    painter->setPen(palette.headerLabelColor);
    QFont font = palette.headerFont;
    // Spaced a little, as small capital headings are.
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.4);
    painter->setFont(font);
    const QFontMetrics metrics(font);
    // The text stands on the row's bottom; the short first row lends it the space above.
    const int bottomPadding = firstRow ? 0 : 5;
    const int baseline = rowRect.bottom() + 1 - bottomPadding - metrics.descent() / 2;
    const int width = rowRect.width() - 2 * leading;
    painter->drawText(QPoint(rowRect.left() + leading, baseline),
                      metrics.elidedText(text, Qt::ElideRight, width));
    painter->restore();
}
