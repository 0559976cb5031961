#pragma once

#include "AppDelegate.h"
#include "HotKeys/HotKeyBackend.h"
#include "MainWindow.h"
#include "MainWindowController.h"

#include <QTest>
#include <QWidget>

#include <memory>

// The window system as a test wants it: it takes every registration, and then answers for the
// desktop as the test says (a portal may bind to a trigger of its own, or refuse).
class AnsweringBackend : public HotKeys::HotKeyBackend
{
public:
    bool registerHotKey(const HotKeys::Shortcut&, std::uint32_t) override { return true; }
    void unregisterHotKey(std::uint32_t) override {}
    bool installEventHandler(EventCallback) override { return true; }
    void setHotKeyEventsEnabled(bool) override {}
    HotKeys::SystemBinding binding(std::uint32_t, const QString&) const override { return answer; }

    HotKeys::SystemBinding answer{HotKeys::SystemBinding::State::granted, {}};
};

// Vorlane started as main() starts it, up to the main window's first frame, which the welcome of
// a first start follows.
inline std::unique_ptr<AppDelegate> startVorlane()
{
    auto delegate = std::make_unique<AppDelegate>();
    delegate->applicationWillFinishLaunching();
    delegate->applicationDidFinishLaunching();
    const MainWindow* window = delegate->mainWindowController()->window();
    if (window->isVisible() &&
        !QTest::qWaitFor([window] { return window->hasPaintedFirstFrame(); }, 30000))
        qFatal("the main window painted no first frame");
    return delegate;
}

// A control of a window by its name in the window's .ui file.
template <typename Control>
Control* control(QWidget* window, const char* name)
{
    auto* found = window->findChild<Control*>(QString::fromLatin1(name));
    if (!found)
        qFatal("the window has no control named %s", name);
    return found;
}

// Another window takes the focus, as when the user clicks elsewhere.
class OtherWindow
{
public:
    OtherWindow()
    {
        m_window.setWindowTitle(QStringLiteral("Another window"));
        m_window.resize(200, 100);
    }
    bool takeFocus()
    {
        m_window.show();
        m_window.activateWindow();
        return QTest::qWaitForWindowActive(&m_window);
    }

private:
    QWidget m_window;
};
