#pragma once

#include <QWidget>

// The two-segment view switch: segment 0 the list, segment 1 the grid. One segment is selected
// at a time; a click selects one and announces it. It never takes the keyboard focus.
class ButtonSegmentedControl : public QWidget
{
    Q_OBJECT

public:
    static constexpr int segmentCount = 2;

    explicit ButtonSegmentedControl(QWidget* parent = nullptr);

    int selectedSegment() const { return m_selectedSegment; }
    void setSelectedSegment(int segment);
    QRect segmentFrame(int segment) const;
    int segmentAt(const QPoint& pos) const;

Q_SIGNALS:
    // The user clicked a segment (also when it was selected already).
    void segmentActivated(int segment);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int m_selectedSegment = 1;
};
