#include "PreviewPictureView.h"

#include "PreviewFit.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

PreviewPictureView::PreviewPictureView(QWidget* parent)
    : QWidget(parent)
{}

void PreviewPictureView::setPicture(const QImage& picture)
{
    m_picture = picture;
    m_reportedDensity = 0;
    update();
}

void PreviewPictureView::setPageLabel(const QString& label)
{
    if (label == m_pageLabel)
        return;
    m_pageLabel = label;
    update();
}

void PreviewPictureView::setMargin(int margin)
{
    m_margin = margin;
    update();
}

QRect PreviewPictureView::pictureRect() const
{
    const QRect space = rect().marginsRemoved(QMargins(m_margin, m_margin, m_margin, m_margin));
    const QSizeF logical = m_picture.deviceIndependentSize();
    const QSize natural(static_cast<int>(std::round(logical.width())),
                        static_cast<int>(std::round(logical.height())));
    QRect target(QPoint(0, 0), PreviewFit::shrunk(natural, space.size()));
    target.moveCenter(space.center());
    return target;
}

void PreviewPictureView::paintEvent(QPaintEvent*)
{
    if (!m_picture.isNull()) {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(pictureRect(), m_picture);
        paintPageLabel(painter);
        const double density = devicePixelRatioF();
        if (m_picture.devicePixelRatio() != density && m_reportedDensity != density) {
            m_reportedDensity = density;
            Q_EMIT densityChanged();
        }
    }
    Q_EMIT painted();
}

void PreviewPictureView::paintPageLabel(QPainter& painter)
{
    if (m_pageLabel.isEmpty())
        return;
    const QFontMetrics metrics = fontMetrics();
    const int padding = metrics.height() / 2;
    QRect capsule(0, 0, metrics.horizontalAdvance(m_pageLabel) + 2 * padding,
                  metrics.height() + padding);
    capsule.moveCenter(QPoint(rect().center().x(), 0));
    capsule.moveBottom(rect().bottom() - m_margin - padding);
    // The look's window colour, outlined so that it stands out on a white page in either look.
    QColor fill = palette().color(QPalette::Window);
    fill.setAlphaF(0.9f);
    QColor outline = palette().color(QPalette::WindowText);
    outline.setAlphaF(0.3f);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(capsule).adjusted(0.5, 0.5, -0.5, -0.5), capsule.height() / 2.0,
                        capsule.height() / 2.0);
    painter.fillPath(path, fill);
    painter.strokePath(path, QPen(outline, 1));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(capsule, Qt::AlignCenter, m_pageLabel);
}
