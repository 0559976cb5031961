#include "PreviewZoom.h"

#include <QPainter>
#include <QVariantAnimation>

PreviewZoom::PreviewZoom(const QPixmap& image, const QRect& from, const QRect& to, QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                          Qt::WindowDoesNotAcceptFocus)
    , m_image(image)
    , m_from(from)
    , m_to(to)
    , m_animation(new QVariantAnimation(this))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_animation->setDuration(durationMs);
    m_animation->setEasingCurve(QEasingCurve::OutCubic);
    m_animation->setStartValue(from);
    m_animation->setEndValue(to);
    connect(m_animation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { setGeometry(value.toRect()); });
    connect(m_animation, &QVariantAnimation::finished, this, &QObject::deleteLater);
}

void PreviewZoom::start()
{
    setGeometry(m_from);
    show();
    m_animation->start();
}

void PreviewZoom::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSizeF size = m_image.deviceIndependentSize().scaled(rect().size(), Qt::KeepAspectRatio);
    const QRectF target(QPointF(rect().width() - size.width(), rect().height() - size.height()) / 2,
                        size);
    painter.drawPixmap(target, m_image, m_image.rect());
}
