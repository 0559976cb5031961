#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <memory>

class MainWindow;
class QKeyEvent;
class QWindow;
class ViewController;

// Owns the browsing window and its content, sets the window up, switches it between its two
// modes and answers its focus changes.
//
// Auto-hide mode: a frameless panel kept above the other windows, on every workspace and out of
// the task bar, hidden when it loses the focus. Ordinary mode: a decorated window that stays
// where it is, and that goes to the task bar (iconified) when put away, so that it stays
// reachable there. Ctrl+Q in the window quits Vorlane.
class MainWindowController : public QObject
{
    Q_OBJECT

public:
    MainWindowController();
    ~MainWindowController() override;

    MainWindow* window() const;
    ViewController* contentViewController() const { return m_content; }

    // Shows the window in front (from the task bar, when it was iconified) and gives it the
    // keyboard focus.
    void showWindow();
    // Takes the window off the screen: iconified in the task bar while it has its place there
    // in the ordinary mode, otherwise hidden.
    void putAway();
    // Whether putting the window away leaves it iconified in the task bar.
    bool iconifiesWhenPutAway() const;
    // Whether the window system can iconify the window and give it back when Vorlane asks.
    static bool windowSystemGivesIconifiedWindowsBack();
    // The user-input time to ask the window manager for the focus with, used by the next
    // showWindow; 0 means the X server's current time.
    void setActivationTime(std::uint32_t timestamp) { m_activationTime = timestamp; }

    // Auto-hide mode.
    bool isFloatingPanel() const { return m_floatingPanel; }
    void setFloatingPanel(bool floating);
    // Whether the window must show in the task bar whatever its mode: when the desktop has no
    // tray to reach Vorlane from. dockIconShown is the "ShowDockIcon" choice.
    void setTaskbarPresence(bool dockIconShown, bool trayAvailable);
    bool skipsTaskbar() const;
    // Re-sends the window-manager states of the current mode (the window calls it when shown).
    void applyWindowManagerStates();

    void windowDidResignKey();
    void windowDidBecomeKey();
    // Escape hides the window; true when the key was used.
    bool keyDown(QKeyEvent* event);

private:
    void windowDidLoad();
    // Follows the window system's focus: the window becomes or stops being key.
    void focusWindowChanged(QWindow* focusWindow);
    void applyWindowFlags();
    void addQuitShortcut();
    // Drops the documents deleted while the window was away, and brings back those put back.
    void lookAtTheDocumentsAgain();
    // Sets commandKeyHeld from the keyboard's real state, announcing a change.
    void takeCommandKeyAsItIs();
    // Hides the auto-hide panel unless it has the focus (again) or a preview holds it.
    void hidePanelWithoutFocus();

    std::unique_ptr<MainWindow> m_window;
    ViewController* m_content = nullptr;
    bool m_floatingPanel = false;
    bool m_dockIconShown = true;
    bool m_trayAvailable = true;
    std::uint32_t m_activationTime = 0;
    bool m_isKey = false;
    bool m_lookWaits = false;
    // Until then, the window manager may still be answering the last showWindow's activation.
    QDeadlineTimer m_activationAnswered;
    QTimer m_focusLossCheck;
};
