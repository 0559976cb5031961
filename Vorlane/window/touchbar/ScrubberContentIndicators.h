#pragma once

#include <QWidget>

class QScrollBar;

// Lies over a scrubber's items and fades out the edge at each end where more items lie beyond,
// so a strip cut off by the window's edge reads as one that scrolls.
class ScrubberContentIndicators : public QWidget
{
    Q_OBJECT

public:
    static constexpr int fadeWidth = 48;

    // position tells how far the row is scrolled, and how far it can be.
    ScrubberContentIndicators(const QScrollBar* position, QWidget* viewport);

    bool showsLeading() const;
    bool showsTrailing() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintFade(QPainter& painter, const QRect& area, bool leading) const;

    const QScrollBar* m_position;
};
