#include "GridItemTitle.h"

#include "FileNameText.h"

#include <QCache>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

GridItemTitle::GridItemTitle(const QString& text, const QFont& font, int width)
    : m_font(font)
    , m_width(width)
{
    const QFontMetrics metrics(font);
    m_lineSpacing = metrics.lineSpacing();
    QTextLayout layout(text, font);
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (m_lines.size() == maximumLines - 1) {
            // The last line takes whatever is left, shortened to fit.
            m_lines << FileNameText::elided(text.mid(line.textStart()).simplified(), metrics,
                                            width);
            break;
        }
        m_lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    for (const QString& line : std::as_const(m_lines))
        m_textWidth = std::max(m_textWidth, metrics.horizontalAdvance(line));
}

GridItemTitle GridItemTitle::laidOut(const QString& text, const QFont& font, int width)
{
    // Enough for every title of a long list of documents; the oldest go first.
    static QCache<QString, GridItemTitle> titles(4096);
    const QString key = font.key() + u'\n' + QString::number(width) + u'\n' + text;
    if (const GridItemTitle* title = titles.object(key))
        return *title;
    auto* title = new GridItemTitle(text, font, width);
    const GridItemTitle copy = *title;
    titles.insert(key, title);
    return copy;
}

int GridItemTitle::height() const
{
    return static_cast<int>(m_lines.size()) * m_lineSpacing + extraHeight;
}

QRectF GridItemTitle::markerRect(const QRect& field) const
{
    const int width = std::min(m_textWidth + 8, field.width() + 6);
    return {field.center().x() + 1 - width / 2.0, static_cast<qreal>(field.top()),
            static_cast<qreal>(width), static_cast<qreal>(field.height())};
}

void GridItemTitle::draw(QPainter* painter, const QRect& field, const QColor& textColor,
                         const std::optional<QColor>& background) const
{
    painter->save();
    painter->setFont(m_font);
    if (background) {
        QPainterPath path;
        path.addRoundedRect(markerRect(field), backgroundRadius, backgroundRadius);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->fillPath(path, *background);
    }
    painter->setPen(textColor);
    QRect line(field.left(), field.top() + extraHeight / 2, field.width(), m_lineSpacing);
    for (const QString& text : m_lines) {
        painter->drawText(line, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, text);
        line.translate(0, m_lineSpacing);
    }
    painter->restore();
}
