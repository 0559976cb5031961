#pragma once

#include <QObject>

#include <memory>

class QWidget;

// Owns one of Vorlane's own windows beside the browsing window (the preferences, the onboarding,
// About): makes the window the first time it is needed, and answers the window system's news
// about it. The window is "main" while it has the keyboard focus.
class WindowController : public QObject
{
    Q_OBJECT

public:
    ~WindowController() override;

    // The window, made and set up (windowDidLoad) the first time it is asked for.
    QWidget* window();
    bool isWindowLoaded() const { return m_window != nullptr; }
    bool isMainWindow() const;
    bool isVisible() const;

    // Shows the window in front of the others with the keyboard focus.
    virtual void showWindow();
    // Puts the window in the middle of the main display.
    void center();
    // What the menus do: the window in the middle of the main display, in front, with the focus.
    void showCentred();
    // Closes the window as its close button does: windowWillClose runs, the window hides.
    void close();

protected:
    explicit WindowController(QObject* parent = nullptr);

    virtual std::unique_ptr<QWidget> loadWindow() = 0;
    virtual void windowDidLoad() {}
    virtual void windowDidBecomeMain() {}
    virtual void windowDidResignMain() {}
    virtual void windowWillClose() {}

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<QWidget> m_window;
};
