#include "MainWindow.h"

#include "FirstFrame.h"
#include "MainWindowController.h"
#include "MainWindowHelper.h"
#include "ThemePalette.h"
#include "ViewController.h"
#include "X11Window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QPainter>
#include <QTimer>
#include <QWindow>

Q_LOGGING_CATEGORY(vorlaneStartup, "vorlane.startup", QtWarningMsg)

MainWindow::MainWindow(MainWindowController* controller)
    : m_controller(controller)
{
    setObjectName(QStringLiteral("VorlaneWindow"));
    setWindowTitle(QStringLiteral("Vorlane"));
    setAttribute(Qt::WA_QuitOnClose, false);
}

MainWindow::~MainWindow()
{
    if (isVisible() && !m_firstFramePainted)
        FirstFrame::end();
}

bool MainWindow::isMainWindow() const
{
    // The window system's focus, not QWidget's activation, which can lag behind it after the
    // window was hidden and shown again. On X11 the server itself is asked: the focus the window
    // got may still wait among the events read with the shortcut's. An iconified window is never
    // main, whatever focus the window system still reports.
    if (!isShown() || !windowHandle())
        return false;
    if (X11Window::isAvailable())
        return X11Window::hasInputFocus(windowHandle());
    return QGuiApplication::focusWindow() == windowHandle();
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    // With nothing focused the window gets the keys first; the content's rules come before
    // the window's own.
    ViewController* content = m_controller->contentViewController();
    if (!focusWidget() && content && content->keyDown(event))
        return;
    if (!m_controller->keyDown(event))
        QWidget::keyPressEvent(event);
}

void MainWindow::showEvent(QShowEvent* event)
{
    if (!m_painted && windowHandle())
        windowHandle()->installEventFilter(this);
    // Mapped iconified (a start at login), it paints nothing until it is restored.
    if (!m_firstFramePainted && !isMinimized())
        FirstFrame::begin();
    // Before the window is mapped, so the window manager sees its states from the start.
    m_controller->applyWindowManagerStates();
    QWidget::showEvent(event);
}

void MainWindow::hideEvent(QHideEvent* event)
{
    // Hidden before its first frame: what waits for that frame waits no longer.
    if (!m_firstFramePainted)
        FirstFrame::end();
    QWidget::hideEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The title bar's close button puts the window away as Escape does; it is never destroyed.
    event->ignore();
    MainWindowHelper::hideMainWindow();
}

void MainWindow::paintEvent(QPaintEvent*)
{

    // The frameless panel keeps a one-point margin around its content: its edge.
    if (!(windowFlags() & Qt::FramelessWindowHint))
        return;
    QPainter painter(this);
    painter.fillRect(rect(), themePalette().windowBorderColor);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose && !m_painted &&
        windowHandle()->isExposed()) {
        m_painted = true;
        windowHandle()->removeEventFilter(this);
        // The first exposure is painted at once; the line comes after that whole first frame,
        // and start-up time is measured up to it.
        QTimer::singleShot(0, this, [this] {
            qCDebug(vorlaneStartup, "window painted");
            m_firstFramePainted = true;
            FirstFrame::end();
        });
    }
    return QWidget::eventFilter(watched, event);
}
