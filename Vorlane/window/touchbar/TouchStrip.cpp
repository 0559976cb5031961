#include "TouchStrip.h"

#include "PopoverTouchBarItem.h"
#include "ThemePalette.h"
#include "TouchBar.h"
#include "TouchBarItem.h"
#include "UserDefaults.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QInputDevice>
#include <QPainter>
#include <QPropertyAnimation>
#include <QToolButton>

#include <algorithm>

namespace {
const QString showTouchStripKey = QStringLiteral("ShowTouchStrip");
constexpr int closeButtonSide = 30;

QList<TouchStrip*>& liveStrips()
{
    static QList<TouchStrip*> all;
    return all;
}

QIcon crossIcon(const QColor& color)
{
    constexpr qreal ratio = 2;
    QPixmap image(QSize(14, 14) * ratio);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(2, 2), QPointF(12, 12));
    painter.drawLine(QPointF(12, 2), QPointF(2, 12));
    return QIcon(image);
}
} // namespace

TouchStrip::TouchStrip(TouchBarMaker makeTouchBar, QWidget* parent)
    : QWidget(parent)
    , m_makeTouchBar(std::move(makeTouchBar))
    , m_popoverFrame(new QWidget(this))
    , m_popoverRow(new QHBoxLayout(m_popoverFrame))
    , m_closeButton(new QToolButton(m_popoverFrame))
    , m_slide(new QPropertyAnimation(m_popoverFrame, "pos", this))
{
    setObjectName(QStringLiteral("TouchStrip"));
    setFixedHeight(stripHeight);
    setAutoFillBackground(true);
    m_popoverFrame->setObjectName(QStringLiteral("TouchStripPopover"));
    m_popoverFrame->setAutoFillBackground(true);
    m_popoverFrame->hide();
    m_popoverRow->setContentsMargins(6, 0, 0, 0);
    m_popoverRow->setSpacing(0);
    m_closeButton->setAutoRaise(true);
    m_closeButton->setFocusPolicy(Qt::NoFocus);
    m_closeButton->setFixedSize(closeButtonSide, closeButtonSide);
    m_closeButton->setToolTip(tr("Close"));
    m_closeButton->setAccessibleName(tr("Close"));
    updateCloseIcon();
    m_popoverRow->addWidget(m_closeButton, 0, Qt::AlignVCenter);
    connect(m_closeButton, &QToolButton::clicked, this, [this] {
        if (m_popoverItem)
            m_popoverItem->dismissPopover();
    });
    m_slide->setDuration(slideMilliseconds);
    m_slide->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_slide, &QPropertyAnimation::finished, this, &TouchStrip::slideFinished);
    // Hidden until wanted: a hidden band takes no room in the window.
    hide();
    liveStrips().append(this);
}

TouchStrip::~TouchStrip()
{
    liveStrips().removeOne(this);
}

bool TouchStrip::isWanted()
{
    const UserDefaults& defaults = UserDefaults::standard();
    if (defaults.objectIsPresent(showTouchStripKey))
        return defaults.boolForKey(showTouchStripKey);
    return hasTouchScreen();
}

bool TouchStrip::hasTouchScreen()
{
    const QList<const QInputDevice*> devices = QInputDevice::devices();
    return std::any_of(devices.cbegin(), devices.cend(), [](const QInputDevice* device) {
        return device->type() == QInputDevice::DeviceType::TouchScreen;
    });
}

void TouchStrip::choiceChanged()
{
    for (TouchStrip* strip : std::as_const(liveStrips()))
        strip->updateVisibility();
}

void TouchStrip::updateVisibility()
{
    const bool wanted = isWanted();
    if (wanted && !m_touchBar && m_makeTouchBar)
        present(m_makeTouchBar());
    setVisible(wanted && m_touchBar);
}

TouchBar* TouchStrip::touchBar() const
{
    return m_touchBar;
}

TouchBar* TouchStrip::shownPopover() const
{
    return m_popoverItem && m_popoverItem->isPopoverShown() ? m_popoverItem->popoverTouchBar()
                                                            : nullptr;
}

void TouchStrip::present(TouchBar* touchBar)
{
    if (!touchBar)
        return;
    m_touchBar = touchBar;
    touchBar->setParent(this);
    touchBar->setGeometry(stripArea());
    for (TouchBarItem* item : touchBar->items()) {
        auto* popoverItem = qobject_cast<PopoverTouchBarItem*>(item);
        if (!popoverItem)
            continue;
        connect(popoverItem, &PopoverTouchBarItem::popoverShown, this,
                [this, popoverItem] { showPopover(popoverItem); });
        connect(popoverItem, &PopoverTouchBarItem::popoverDismissed, this,
                [this, popoverItem] { popoverDismissed(popoverItem); });
    }
    touchBar->show();
    m_popoverFrame->raise();
}

void TouchStrip::showPopover(PopoverTouchBarItem* item)
{
    TouchBar* popover = item->popoverTouchBar();
    if (!popover)
        return;
    if (m_popoverItem && m_popoverItem != item && m_popoverItem->popoverTouchBar())
        m_popoverItem->popoverTouchBar()->hide();
    m_popoverItem = item;
    if (popover->parentWidget() != m_popoverFrame)
        m_popoverRow->addWidget(popover, 1);
    popover->items();
    popover->show();
    m_popoverFrame->resize(stripArea().size());
    if (m_popoverFrame->isHidden())
        m_popoverFrame->move(popoverPosition(false));
    m_popoverFrame->show();
    m_popoverFrame->raise();
    slidePopover(true);
}

void TouchStrip::popoverDismissed(PopoverTouchBarItem* item)
{
    if (item == m_popoverItem)
        slidePopover(false);
}

void TouchStrip::slidePopover(bool in)
{
    m_slide->stop();
    m_slide->setStartValue(m_popoverFrame->pos());
    m_slide->setEndValue(popoverPosition(in));
    m_slide->start();
}

void TouchStrip::slideFinished()
{
    if (!shownPopover())
        m_popoverFrame->hide();
}

QRect TouchStrip::stripArea() const
{
    // Below the one-point line along the top.
    return rect().adjusted(0, 1, 0, 0);
}

QPoint TouchStrip::popoverPosition(bool shown) const
{
    const QRect area = stripArea();
    return shown ? area.topLeft() : QPoint(area.right() + 1, area.top());
}

void TouchStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(QRect(0, 0, width(), 1), themePalette().separatorColor);
}

void TouchStrip::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_touchBar)
        m_touchBar->setGeometry(stripArea());
    m_popoverFrame->resize(stripArea().size());
    if (m_slide->state() != QAbstractAnimation::Running)
        m_popoverFrame->move(popoverPosition(shownPopover() != nullptr));
}

void TouchStrip::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        updateCloseIcon();
    QWidget::changeEvent(event);
}

void TouchStrip::updateCloseIcon()
{
    m_closeButton->setIcon(crossIcon(palette().color(QPalette::WindowText)));
    m_closeButton->setIconSize(QSize(14, 14));
}
