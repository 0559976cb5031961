#pragma once

#include <QMenu>

// The two things Vorlane offers from its place in the task bar: put the window back in the
// middle of the main display, or there at its first size. The desktop entry offers them as its
// actions (Vorlane --center-window, --reset-window-size) and the tray menu lists them too.
class DockMenu : public QMenu
{
    Q_OBJECT

public:
    explicit DockMenu(QWidget* parent = nullptr);

    QAction* centerWindowItem() const { return m_centerWindow; }
    QAction* resetWindowSizeItem() const { return m_resetWindowSize; }

    // Shows the window and moves it to the middle of the main display at its current size.
    static void centerWindow();
    // Shows the window and moves it to the middle of the main display at 780 × 440.
    static void resetWindowSize();

private:
    QAction* m_centerWindow;
    QAction* m_resetWindowSize;
};
