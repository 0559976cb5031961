#pragma once

#include "ScrubberFlowLayout.h"

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QHash>
#include <QPointer>

#include <functional>

class QScroller;
class QTouchEvent;
class ScrubberContentIndicators;
class ScrubberDataSource;
class ScrubberDelegate;
class ScrubberItemView;

// A row of items for a touch surface. It scrolls freely across: following a finger or the mouse
// held down, gliding on when let go (kinetic scrolling), and by the mouse wheel. A touch or
// click that does not move selects the item under it, wherever in the row's height it lands;
// the delegate hears of the selection and of the end of every interaction.
//
// The items' views come from the data source as they scroll into sight and are let go when they
// are far out of it, so a row of thousands costs no more than what is on screen.
class Scrubber : public QAbstractScrollArea
{
    Q_OBJECT

public:
    enum class SelectionBackgroundStyle
    {
        none,
        // A rounded marker behind the selected item, in the look's selection colour.
        rounded,
    };
    using ItemFactory = std::function<ScrubberItemView*()>;

    explicit Scrubber(QWidget* parent = nullptr);
    ~Scrubber() override;

    ScrubberDataSource* dataSource() const { return m_dataSource; }
    // Also reloads the items from the new source.
    void setDataSource(ScrubberDataSource* dataSource);
    ScrubberDelegate* delegate() const { return m_delegate; }
    void setDelegate(ScrubberDelegate* delegate) { m_delegate = delegate; }

    // The kinds of item view the data source can ask for, by name.
    void registerItemFactory(const QString& identifier, ItemFactory factory);
    // A new view of the kind registered under identifier; null for a name never registered.
    ScrubberItemView* makeItemWithIdentifier(const QString& identifier) const;

    const ScrubberFlowLayout& scrubberLayout() const { return m_layout; }
    void setScrubberLayout(const ScrubberFlowLayout& layout);
    SelectionBackgroundStyle selectionBackgroundStyle() const { return m_selectionStyle; }
    void setSelectionBackgroundStyle(SelectionBackgroundStyle style);
    bool showsAdditionalContentIndicators() const { return m_showsIndicators; }
    void setShowsAdditionalContentIndicators(bool shows);
    const ScrubberContentIndicators* contentIndicators() const { return m_indicators; }

    // Asks the data source again for the number of items and their views.
    void reloadData();
    int numberOfItems() const { return m_count; }
    // The selected item, -1 for none. Setting an index outside the row selects none.
    int selectedIndex() const { return m_selectedIndex; }
    void setSelectedIndex(int index);
    // The items drawn with the selection marker now: the selected one and one being touched.
    QList<int> highlightedIndexes() const;

    // Where item index lies in the visible area, and which item lies at a point of it.
    QRect itemRect(int index) const;
    int itemIndexAt(const QPoint& position) const;
    // The view of item index while it is in or near sight; null otherwise.
    ScrubberItemView* itemViewAtIndex(int index) const;

    QSize sizeHint() const override;

protected:
    bool viewportEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    bool touchEvent(QTouchEvent* event);
    void pressed(const QPointF& position);
    void moved(const QPointF& position);
    void released(const QPointF& position);
    void cancelled();
    void finishInteraction();
    QScroller* scroller();
    void updateScrollRange();
    void layoutItems();
    void dropItemViews();
    void setHoveredIndex(int index);

    ScrubberDataSource* m_dataSource = nullptr;
    ScrubberDelegate* m_delegate = nullptr;
    QHash<QString, ItemFactory> m_factories;
    ScrubberFlowLayout m_layout;
    SelectionBackgroundStyle m_selectionStyle = SelectionBackgroundStyle::none;
    bool m_showsIndicators = false;
    ScrubberContentIndicators* m_indicators;
    int m_count = 0;
    int m_selectedIndex = -1;
    // The item under a touch or press that may still become a selection; -1 once it moved.
    int m_pressedIndex = -1;
    int m_hoveredIndex = -1;
    bool m_interacting = false;
    QPointF m_pressPosition;
    QHash<int, ScrubberItemView*> m_itemViews;
    // The scroller's clock: event time stamps are not reliable across input devices.
    QElapsedTimer m_clock;
};
