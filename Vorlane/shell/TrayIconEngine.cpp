#include "TrayIconEngine.h"

#include <QPainter>

const QString TrayIconEngine::symbolicName = QStringLiteral("com.ostrel.Vorlane-symbolic");

TrayIconEngine::TrayIconEngine(QIcon pictures)
    : m_pictures(std::move(pictures))
{}

QString TrayIconEngine::iconName()
{
    return symbolicName;
}

QString TrayIconEngine::key() const
{
    return QStringLiteral("TrayIconEngine");
}

QIconEngine* TrayIconEngine::clone() const
{
    return new TrayIconEngine(m_pictures);
}

void TrayIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                           QIcon::State state)
{
    m_pictures.paint(painter, rect, Qt::AlignCenter, mode, state);
}

QSize TrayIconEngine::actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return m_pictures.actualSize(size, mode, state);
}

QPixmap TrayIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return m_pictures.pixmap(size, mode, state);
}

QPixmap TrayIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                                     qreal scale)
{
    return m_pictures.pixmap(size, scale, mode, state);
}

QList<QSize> TrayIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state)
{
    return m_pictures.availableSizes(mode, state);
}
