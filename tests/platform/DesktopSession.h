#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// The parts of a desktop an end-to-end test needs beside the X server: a window manager and a
// private session bus, each started here and stopped when the object goes away, and the
// xdotool and xprop calls that look at windows the way a user sees them.
namespace DesktopSession {

// Runs the event loop until the condition holds; false when the deadline passes.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 30000);

// Output of a program run to its end (empty when it failed).
QString run(const QString& program, const QStringList& arguments, int timeoutMs = 20000);

class WindowManager
{
public:
    // "openbox" or "metacity", replacing any running one, in the environment in force (made
    // before a test home replaces the data folders its themes and schemas are found in);
    // isRunning() tells whether it came up and gives the focus to a window it maps, as it does once
    // its start is over.
    explicit WindowManager(const QString& name);
    ~WindowManager();
    bool isRunning() const { return m_running; }

private:
    static bool focusesNewWindows();

    std::unique_ptr<QProcess> m_process;
    bool m_running = false;
};

class PrivateBus
{
public:
    PrivateBus();
    ~PrivateBus();
    // The address to give programs as DBUS_SESSION_BUS_ADDRESS; empty when it did not start.
    QString address() const { return m_address; }

private:
    std::unique_ptr<QProcess> m_process;
    QString m_address;
};

// The visible top-level window whose title is exactly title; 0 when there is none.
quint64 visibleWindow(const QString& title);
// The window with the keyboard focus (xdotool getwindowfocus); 0 when none.
quint64 focusedWindow();
// Position and size of a window on the screen.
QRect windowGeometry(quint64 window);
// Presses and releases keys as a person does ("shift+ctrl+space").
bool pressKeys(const QString& keys);

} // namespace DesktopSession
