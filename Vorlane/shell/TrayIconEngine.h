#pragma once

#include <QIcon>
#include <QIconEngine>

// The tray item's icon: to panels that look icons up by name (StatusNotifierItem hosts: Plasma,
// the GNOME extension, Xfce) it is the installed symbolic icon, which they draw in their own
// text colour, light on dark panels and dark on light ones; to trays that take only pictures
// (XEmbed) it is a picture that reads on both.
class TrayIconEngine : public QIconEngine
{
public:
    static const QString symbolicName;

    explicit TrayIconEngine(QIcon pictures);

    QString iconName() override;
    QString key() const override;
    QIconEngine* clone() const override;
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;

private:
    QIcon m_pictures;
};
