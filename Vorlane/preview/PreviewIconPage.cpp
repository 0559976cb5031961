#include "PreviewIconPage.h"

#include <QApplication>
#include <QLocale>
#include <QPainter>
#include <QStyle>

namespace {
constexpr int iconPageSpacing = 12;
constexpr int iconPageMargin = 16;
} // namespace

PreviewIconPage::PreviewIconPage(QWidget* parent)
    : QWidget(parent)
{}

void PreviewIconPage::setFacts(const PreviewFileFacts& facts)
{
    m_icon = iconFor(facts);
    m_lines = linesFor(facts);
    update();
}

QIcon PreviewIconPage::iconFor(const PreviewFileFacts& facts)
{
    for (const QString& name : facts.iconNames()) {
        const QIcon icon = QIcon::fromTheme(name);
        if (!icon.isNull())
            return icon;
    }
    return QApplication::style()->standardIcon(
        facts.mimeType.inherits(QStringLiteral("inode/directory")) ? QStyle::SP_DirIcon
                                                                   : QStyle::SP_FileIcon);
}

QStringList PreviewIconPage::linesFor(const PreviewFileFacts& facts)
{
    const QLocale locale;
    QStringList lines{facts.name};
    if (facts.mimeType.isValid() && !facts.mimeType.comment().isEmpty())
        lines << facts.mimeType.comment();
    if (facts.size >= 0)
        lines << locale.formattedDataSize(facts.size);
    if (facts.modified.isValid()) {
        const QDateTime modified = facts.modified.toLocalTime();
        lines << tr("Modified %1, %2")
                     .arg(locale.toString(modified.date(), QLocale::LongFormat),
                          locale.toString(modified.time(), QLocale::ShortFormat));
    }
    if (!facts.path.isEmpty() && !facts.exists)
        lines << tr("This document is no longer there.");
    return lines;
}

void PreviewIconPage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect space = rect().marginsRemoved(
        QMargins(iconPageMargin, iconPageMargin, iconPageMargin, iconPageMargin));
    QFont nameFont = font();
    nameFont.setBold(true);
    if (nameFont.pointSizeF() > 0)
        nameFont.setPointSizeF(nameFont.pointSizeF() * 1.25);
    const QFontMetrics nameMetrics(nameFont);
    const QFontMetrics factMetrics = fontMetrics();
    const int factLines = static_cast<int>(m_lines.size()) - 1;
    const int height =
        iconSize + iconPageSpacing + nameMetrics.height() + factLines * factMetrics.height();

    int top = space.top() + std::max(0, (space.height() - height) / 2);
    const QRect iconRect(space.center().x() - iconSize / 2, top, iconSize, iconSize);
    m_icon.paint(&painter, iconRect);
    top += iconSize + iconPageSpacing;

    painter.setFont(nameFont);
    painter.setPen(palette().color(QPalette::WindowText));
    const QString name = m_lines.value(0);
    painter.drawText(QRect(space.left(), top, space.width(), nameMetrics.height()),
                     Qt::AlignHCenter | Qt::AlignTop,
                     nameMetrics.elidedText(name, Qt::ElideMiddle, space.width()));
    top += nameMetrics.height();

    // The facts in the text colour, softened: the look's own colours, whichever look it is.
    painter.setFont(font());
    QColor factColour = palette().color(QPalette::WindowText);
    factColour.setAlphaF(0.65f);
    painter.setPen(factColour);
    for (qsizetype line = 1; line < m_lines.size(); ++line) {
        painter.drawText(QRect(space.left(), top, space.width(), factMetrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop,
                         factMetrics.elidedText(m_lines.at(line), Qt::ElideRight, space.width()));
        top += factMetrics.height();
    }
    painter.end();
    Q_EMIT painted();
}
