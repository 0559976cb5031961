#include "Scrubber.h"

#include "ScrubberContentIndicators.h"
#include "ScrubberDataSource.h"
#include "ScrubberDelegate.h"
#include "ScrubberItemView.h"
#include "ThemePalette.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QScroller>
#include <QStyleHints>
#include <QTouchEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

namespace {
constexpr qreal scrubberMarkerRadius = 6;

// A finger wobbles more than a mouse: this far, a touch still counts as a tap.
qreal tapTolerance()
{
    return std::max(QGuiApplication::styleHints()->startDragDistance(), 10);
}
} // namespace

Scrubber::Scrubber(QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_indicators(new ScrubberContentIndicators(horizontalScrollBar(), viewport()))
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    viewport()->setAttribute(Qt::WA_AcceptTouchEvents);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    m_indicators->hide();
    QScroller* scroller = QScroller::scroller(viewport());
    QScrollerProperties properties = scroller->scrollerProperties();
    properties.setScrollMetric(QScrollerProperties::VerticalOvershootPolicy,
                               QScrollerProperties::OvershootAlwaysOff);
    scroller->setScrollerProperties(properties);
    m_clock.start();
}

Scrubber::~Scrubber() = default;

void Scrubber::setDataSource(ScrubberDataSource* dataSource)
{
    m_dataSource = dataSource;
    reloadData();
}

void Scrubber::registerItemFactory(const QString& identifier, ItemFactory factory)
{
    m_factories.insert(identifier, std::move(factory));
}

ScrubberItemView* Scrubber::makeItemWithIdentifier(const QString& identifier) const
{
    const auto factory = m_factories.constFind(identifier);
    return factory != m_factories.cend() && *factory ? (*factory)() : nullptr;
}

void Scrubber::setScrubberLayout(const ScrubberFlowLayout& layout)
{
    m_layout = layout;
    updateScrollRange();
    layoutItems();
    updateGeometry();
}

void Scrubber::setSelectionBackgroundStyle(SelectionBackgroundStyle style)
{
    m_selectionStyle = style;
    viewport()->update();
}

void Scrubber::setShowsAdditionalContentIndicators(bool shows)
{
    m_showsIndicators = shows;
    m_indicators->setVisible(shows);
}

void Scrubber::reloadData()
{
    dropItemViews();
    m_count = m_dataSource ? std::max(0, m_dataSource->numberOfItemsForScrubber(this)) : 0;
    if (m_selectedIndex >= m_count)
        m_selectedIndex = -1;
    // What was under a finger may be another item now.
    m_pressedIndex = -1;
    m_hoveredIndex = -1;
    updateScrollRange();
    layoutItems();
    viewport()->update();
}

void Scrubber::setSelectedIndex(int index)
{
    const int selected = index >= 0 && index < m_count ? index : -1;
    if (selected == m_selectedIndex)
        return;
    m_selectedIndex = selected;
    viewport()->update();
}

QList<int> Scrubber::highlightedIndexes() const
{
    QList<int> indexes;
    if (m_selectedIndex >= 0)
        indexes.append(m_selectedIndex);
    if (m_pressedIndex >= 0 && m_pressedIndex != m_selectedIndex)
        indexes.append(m_pressedIndex);
    return indexes;
}

QRect Scrubber::itemRect(int index) const
{
    if (index < 0 || index >= m_count)
        return {};
    return m_layout.frameForItem(index, viewport()->height())
        .translated(-horizontalScrollBar()->value(), 0);
}

int Scrubber::itemIndexAt(const QPoint& position) const
{
    if (!viewport()->rect().contains(position))
        return -1;
    return m_layout.itemAt(position.x() + horizontalScrollBar()->value(), m_count);
}

ScrubberItemView* Scrubber::itemViewAtIndex(int index) const
{
    return m_itemViews.value(index);
}

QSize Scrubber::sizeHint() const
{
    return {m_layout.contentWidth(m_count), m_layout.itemSize().height()};
}

bool Scrubber::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
        return touchEvent(static_cast<QTouchEvent*>(event));
    case QEvent::Leave:
        setHoveredIndex(-1);
        break;
    default:
        break;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

bool Scrubber::touchEvent(QTouchEvent* event)
{
    event->accept();
    if (event->type() == QEvent::TouchCancel) {
        cancelled();
        return true;
    }
    // The first finger scrolls and taps; others are not followed.
    if (event->points().isEmpty())
        return true;
    const QPointF position = event->points().constFirst().position();
    if (event->type() == QEvent::TouchBegin)
        pressed(position);
    else if (event->type() == QEvent::TouchUpdate)
        moved(position);
    else
        released(position);
    return true;
}

void Scrubber::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pressed(event->position());
    event->accept();
}

void Scrubber::mouseMoveEvent(QMouseEvent* event)
{
    if (m_interacting && (event->buttons() & Qt::LeftButton))
        moved(event->position());
    else if (!m_interacting)
        setHoveredIndex(itemIndexAt(event->position().toPoint()));
    event->accept();
}

void Scrubber::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_interacting)
        released(event->position());
    event->accept();
}

void Scrubber::pressed(const QPointF& position)
{
    // A touch on a gliding row stops it; it selects nothing.
    const bool wasGliding = scroller()->state() == QScroller::Scrolling;
    m_interacting = true;
    m_pressPosition = position;
    scroller()->handleInput(QScroller::InputPress, position, m_clock.elapsed());
    m_pressedIndex = wasGliding ? -1 : itemIndexAt(position.toPoint());
    viewport()->update();
}

void Scrubber::moved(const QPointF& position)
{
    if (!m_interacting)
        return;
    scroller()->handleInput(QScroller::InputMove, position, m_clock.elapsed());
    const bool dragged = scroller()->state() == QScroller::Dragging ||
                         (position - m_pressPosition).manhattanLength() > tapTolerance();
    if (dragged && m_pressedIndex >= 0) {
        m_pressedIndex = -1;
        viewport()->update();
    }
}

void Scrubber::released(const QPointF& position)
{
    if (!m_interacting)
        return;
    scroller()->handleInput(QScroller::InputRelease, position, m_clock.elapsed());
    const int index = m_pressedIndex;
    m_pressedIndex = -1;
    m_interacting = false;
    const QPointer<Scrubber> self(this);
    if (index >= 0 && itemIndexAt(position.toPoint()) == index) {
        setSelectedIndex(index);
        if (m_delegate)
            m_delegate->didSelectItemAtIndex(this, index);
    }
    // The selection may have closed or rebuilt what holds the scrubber.
    if (self)
        finishInteraction();
}

void Scrubber::cancelled()
{
    if (!m_interacting)
        return;
    scroller()->stop();
    m_pressedIndex = -1;
    m_interacting = false;
    finishInteraction();
}

void Scrubber::finishInteraction()
{
    viewport()->update();
    if (m_delegate)
        m_delegate->didFinishInteractingWithScrubber(this);
}

QScroller* Scrubber::scroller()
{
    return QScroller::scroller(viewport());
}

void Scrubber::wheelEvent(QWheelEvent* event)
{
    // Wheels and touchpads scroll the row across, whichever way they turn.
    const QPoint pixels = event->pixelDelta();
    const QPoint angle = event->angleDelta();
    const auto dominant = [](QPoint delta) {
        return std::abs(delta.x()) > std::abs(delta.y()) ? delta.x() : delta.y();
    };
    const int step = m_layout.itemSize().width() + m_layout.itemSpacing();
    const int distance = !pixels.isNull() ? dominant(pixels) : dominant(angle) * step / 120;
    QScrollBar* bar = horizontalScrollBar();
    bar->setValue(bar->value() - distance);
    event->accept();
    // A turn of the wheel is an interaction of its own, as a swipe is.
    finishInteraction();
}

void Scrubber::paintEvent(QPaintEvent*)
{
    if (m_selectionStyle != SelectionBackgroundStyle::rounded)
        return;
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing);
    const auto paintMarker = [&](int index, qreal strength) {
        QColor marker = themePalette().selectionColor;
        marker.setAlphaF(marker.alphaF() * static_cast<float>(strength));
        QPainterPath path;
        path.addRoundedRect(QRectF(itemRect(index)), scrubberMarkerRadius, scrubberMarkerRadius);
        painter.fillPath(path, marker);
    };
    const QList<int> highlighted = highlightedIndexes();
    if (m_hoveredIndex >= 0 && !highlighted.contains(m_hoveredIndex))
        paintMarker(m_hoveredIndex, 0.5);
    for (const int index : highlighted)
        paintMarker(index, 1);
}

void Scrubber::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
    layoutItems();
}

void Scrubber::scrollContentsBy(int, int)
{
    layoutItems();
    viewport()->update();
}

void Scrubber::setHoveredIndex(int index)
{
    if (index == m_hoveredIndex)
        return;
    m_hoveredIndex = index;
    viewport()->update();
}

void Scrubber::updateScrollRange()
{
    const int overflow = m_layout.contentWidth(m_count) - viewport()->width();
    QScrollBar* bar = horizontalScrollBar();
    bar->setRange(0, std::max(0, overflow));
    bar->setPageStep(viewport()->width());
    bar->setSingleStep(m_layout.itemSize().width() + m_layout.itemSpacing());
    verticalScrollBar()->setRange(0, 0);
}

void Scrubber::layoutItems()
{
    const int step = std::max(1, m_layout.itemSize().width() + m_layout.itemSpacing());
    const int offset = horizontalScrollBar()->value();
    const int width = viewport()->width();
    // What is in sight, and a screenful on either side so that a short scroll finds it made.
    const int first = std::max(0, (offset - width) / step);
    const int last = std::min(m_count - 1, (offset + 2 * width) / step);
    for (auto view = m_itemViews.begin(); view != m_itemViews.end();) {
        if (view.key() < first || view.key() > last) {
            delete view.value();
            view = m_itemViews.erase(view);
        } else {
            ++view;
        }
    }
    for (int index = first; index <= last && m_dataSource; ++index) {
        ScrubberItemView* view = m_itemViews.value(index);
        if (!view) {
            view = m_dataSource->viewForItemAtIndex(this, index);
            if (!view)
                continue;
            view->setParent(viewport());
            m_itemViews.insert(index, view);
        }
        view->setGeometry(itemRect(index));
        view->show();
    }
    m_indicators->setGeometry(viewport()->rect());
    m_indicators->raise();
    m_indicators->update();
}

void Scrubber::dropItemViews()
{
    qDeleteAll(m_itemViews);
    m_itemViews.clear();
}
