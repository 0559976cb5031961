#include "WindowController.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>
#include <QWindow>

WindowController::WindowController(QObject* parent)
    : QObject(parent)
{}

WindowController::~WindowController()
{
    if (m_window)
        m_window->removeEventFilter(this);
}

QWidget* WindowController::window()
{
    if (m_window)
        return m_window.get();
    m_window = loadWindow();
    // Closing only hides the window: the controller keeps it, with its controls as they are.
    m_window->setAttribute(Qt::WA_QuitOnClose, false);
    m_window->setAttribute(Qt::WA_DeleteOnClose, false);
    m_window->installEventFilter(this);
    windowDidLoad();
    return m_window.get();
}

bool WindowController::isMainWindow() const
{
    return m_window && m_window->isVisible() && m_window->windowHandle() &&
           QGuiApplication::focusWindow() == m_window->windowHandle();
}

bool WindowController::isVisible() const
{
    return m_window && m_window->isVisible();
}

void WindowController::showWindow()
{
    QWidget* shown = window();
    shown->setWindowState(shown->windowState() & ~Qt::WindowMinimized);
    shown->show();
    shown->raise();
    shown->activateWindow();
}

void WindowController::center()
{
    QWidget* centred = window();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // A window not shown yet takes the size its layout gives it only now.
    if (QLayout* layout = centred->layout())
        layout->activate();
    QRect frame = centred->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    centred->move(frame.topLeft());
}

void WindowController::showCentred()
{
    center();
    showWindow();
}

void WindowController::close()
{
    if (m_window)
        m_window->close();
}

bool WindowController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window.get())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::WindowActivate:
        windowDidBecomeMain();
        break;
    case QEvent::WindowDeactivate:
        windowDidResignMain();
        break;
    case QEvent::Close:
        windowWillClose();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
