#pragma once

#include <QWidget>

class MainWindowController;

// The browsing window. It is never closed while the program runs, only hidden; its controller
// decides its mode and answers its focus changes.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(MainWindowController* controller);
    ~MainWindow() override;

    // Whether the window has the keyboard focus: the main window of the program.
    bool isMainWindow() const;
    // Whether the window is on the screen: neither hidden nor iconified in the task bar.
    bool isShown() const { return isVisible() && !isMinimized(); }
    // Whether the window's first frame has been painted.
    bool hasPaintedFirstFrame() const { return m_firstFramePainted; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MainWindowController* m_controller;
    bool m_painted = false;
    bool m_firstFramePainted = false;
};
