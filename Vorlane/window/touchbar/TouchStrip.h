#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

class PopoverTouchBarItem;
class QHBoxLayout;
class QPropertyAnimation;
class QToolButton;
class TouchBar;

// Where the touch strips show: a band along the bottom of the window, for touch screens, where
// the window's small rows are hard to hit. It shows the strip its maker gives it, and over it,
// sliding in from the side, the popover strip of an item that opens one, with a button that
// closes it.
//
// The band is there only when wanted: as the "ShowTouchStrip" setting says, or while there is
// no such setting, when the system has a touch screen. Otherwise it is hidden and the window
// is exactly as it would be without it.
class TouchStrip : public QWidget
{
    Q_OBJECT

public:
    static constexpr int stripHeight = 46;
    static constexpr int slideMilliseconds = 160;
    using TouchBarMaker = std::function<TouchBar*()>;

    explicit TouchStrip(TouchBarMaker makeTouchBar, QWidget* parent = nullptr);
    ~TouchStrip() override;

    static bool isWanted();
    static bool hasTouchScreen();
    // The setting changed: every strip shows or hides at once.
    static void choiceChanged();

    // Shows the band, making its strip the first time, or hides it, as isWanted says.
    void updateVisibility();

    TouchBar* touchBar() const;
    // The popover strip open now; null when none is open or the open one is closing.
    TouchBar* shownPopover() const;
    QToolButton* closeButton() const { return m_closeButton; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void present(TouchBar* touchBar);
    void showPopover(PopoverTouchBarItem* item);
    void popoverDismissed(PopoverTouchBarItem* item);
    void slidePopover(bool in);
    void slideFinished();
    QRect stripArea() const;
    QPoint popoverPosition(bool shown) const;
    void updateCloseIcon();

    TouchBarMaker m_makeTouchBar;
    QPointer<TouchBar> m_touchBar;
    QWidget* m_popoverFrame;
    QHBoxLayout* m_popoverRow;
    QToolButton* m_closeButton;
    QPropertyAnimation* m_slide;
    QPointer<PopoverTouchBarItem> m_popoverItem;
};
