#pragma once

#include <QMenu>

// The task-bar menu's two actions: bring the window back to the middle of the main display, at
// its size or at the default 780 × 440. The desktop entry offers them as its actions too
// (vorlane --center-window, --reset-window-size). Both do nothing without a window.
class DockMenu : public QMenu
{
    Q_OBJECT

public:
    explicit DockMenu(QWidget* parent = nullptr);

    void centerWindow();
    void resetWindowSize();
};
