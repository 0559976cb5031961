#include "MainWindowController.h"

#include "Appearance.h"
#include "FileIconCache.h"
#include "FilesViewController.h"
#include "FirstFrame.h"
#include "MainWindow.h"
#include "MainWindowHelper.h"
#include "NotificationCenter.h"
#include "SharedReferences.h"
#include "TelemetryClient.h"
#include "ViewController.h"
#include "VorlaneController.h"
#include "WindowDragHandler.h"
#include "WindowFrame.h"
#include "X11FocusGrabFilter.h"
#include "X11Window.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <QWindow>

#include <utility>

namespace {
constexpr QSize minimumWindowSize{460, 320};
// The frameless panel's edge.
constexpr int panelBorder = 1;
// How long a window manager may take to focus a window it was asked to activate, on a busy
// machine.
constexpr int activationAnswerTime = 1000;
} // namespace

MainWindowController::MainWindowController()
    : m_window(std::make_unique<MainWindow>(this))
{
    windowDidLoad();
}

MainWindowController::~MainWindowController() = default;

MainWindow* MainWindowController::window() const
{
    return m_window.get();
}

void MainWindowController::windowDidLoad()
{
    auto* layout = new QVBoxLayout(m_window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    m_content = new ViewController(m_window.get());
    layout->addWidget(m_content);
    // The look is known before anything is drawn.
    paletteDarkFlag = currentAppearanceName() == AppearanceName::darkAqua;
    rebuildPalette();
    m_window->setMinimumSize(minimumWindowSize);
    m_window->resize(defaultWindowSize);
    m_focusLossCheck.setSingleShot(true);
    connect(&m_focusLossCheck, &QTimer::timeout, this,
            &MainWindowController::hidePanelWithoutFocus);
    new WindowDragHandler(m_window.get());
    addQuitShortcut();
    X11FocusGrabFilter::install();
    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            &MainWindowController::focusWindowChanged);
    applyWindowFlags();
    if (!restoreFrameForScreen(m_window.get()))
        centerOnMainScreen(m_window.get(), false);
}

void MainWindowController::addQuitShortcut()
{
    // The window is the one place every user has: Vorlane quits from it as from the tray menu.
    auto* quit = new QAction(tr("Quit Vorlane"), m_window.get());
    quit->setObjectName(QStringLiteral("quitAction"));
    // Ctrl+Q on every platform and keyboard scheme (some name no key for quitting).
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setShortcutContext(Qt::WindowShortcut);
    // Ends the event loop outright: a quit that asks the windows first would be refused by this
    // one, which only goes away when closed.
    connect(
        quit, &QAction::triggered, qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    m_window->addAction(quit);
}

void MainWindowController::showWindow()
{
    // While the worker may still be reading the first list, the window's thread does what its
    // first frame's icons would do first.
    FileIconCache::prepareFirstLookup();
    MainWindow* window = m_window.get();
    // What the first list sets off in the background (the search's words) waits for the frame
    // it belongs to, not only what comes after the window is shown.
    if (!window->hasPaintedFirstFrame())
        FirstFrame::begin();
    // The first frame shows the list, not the placeholder it replaces.
    VorlaneController::shared().waitForFirstList();
    window->show();
    lookAtTheDocumentsAgain();
    // An iconified window comes back from the task bar (one hidden since, once mapped
    // iconified again, without a flash).
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    if (X11Window::isAvailable()) {
        const std::uint32_t time = m_activationTime ? m_activationTime : X11Window::serverTime();
        X11Window::activate(window->windowHandle(), time);
    } else {
        window->activateWindow();
    }
    m_activationTime = 0;
    m_activationAnswered.setRemainingTime(activationAnswerTime);
}

void MainWindowController::putAway()
{
    MainWindow* window = m_window.get();
    if (!iconifiesWhenPutAway()) {
        window->hide();
        return;
    }
    // A window never shown yet (a start at login) is mapped iconified straight away.
    window->setWindowState(window->windowState() | Qt::WindowMinimized);
    window->show();
}

bool MainWindowController::iconifiesWhenPutAway() const
{
    return !m_floatingPanel && !skipsTaskbar() && windowSystemGivesIconifiedWindowsBack();
}

bool MainWindowController::windowSystemGivesIconifiedWindowsBack()
{
    // A bare X server has no task bar to iconify into, and a Wayland client cannot ask for its
    // minimized window back: there the window is hidden, as the auto-hide panel is. Qt's
    // offscreen platform keeps the state as asked.
    const QString platform = QGuiApplication::platformName();
    if (platform == u"xcb")
        return X11Window::windowManagerRuns();
    return platform == u"offscreen";
}

void MainWindowController::setFloatingPanel(bool floating)
{
    if (floating == m_floatingPanel)
        return;
    m_floatingPanel = floating;
    applyWindowFlags();
}

void MainWindowController::setTaskbarPresence(bool dockIconShown, bool trayAvailable)
{
    m_dockIconShown = dockIconShown;
    m_trayAvailable = trayAvailable;
    applyWindowManagerStates();
}

bool MainWindowController::skipsTaskbar() const
{
    // Without a tray the task bar is the one place left to reach the window from.
    return m_trayAvailable && (m_floatingPanel || !m_dockIconShown);
}

void MainWindowController::applyWindowFlags()
{
    MainWindow* window = m_window.get();
    const bool wasVisible = window->isVisible();
    const QRect frame = window->geometry();
    Qt::WindowFlags flags = Qt::Window;
    if (m_floatingPanel)
        flags |= Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
    const int margin = m_floatingPanel ? panelBorder : 0;
    window->layout()->setContentsMargins(margin, margin, margin, margin);
    if (wasVisible && window->windowHandle()) {
        // A shown window changes its mode in place: making its native window anew would hand
        // the focus to another window, and the panel would hide as it lost it.
        window->overrideWindowFlags(flags);
        window->windowHandle()->setFlags(flags);
        applyWindowManagerStates();
        return;
    }
    window->setWindowFlags(flags);
    window->setGeometry(frame);
    applyWindowManagerStates();
}

void MainWindowController::applyWindowManagerStates()
{
    if (!m_window->windowHandle())
        return;
    X11Window::setPanelStates(m_window->windowHandle(),
                              {.sticky = m_floatingPanel, .skipTaskbar = skipsTaskbar()});
}

void MainWindowController::focusWindowChanged(QWindow* focusWindow)
{
    const QWindow* window = m_window->windowHandle();
    // A question the window asks (the clear confirmation) keeps it key: the panel must not hide
    // from its own dialog.
    const bool isKey =
        focusWindow && (focusWindow == window || (focusWindow->transientParent() == window &&
                                                  focusWindow->modality() != Qt::NonModal));
    if (isKey == m_isKey)
        return;
    m_isKey = isKey;
    if (isKey)
        windowDidBecomeKey();
    else
        windowDidResignKey();
}

void MainWindowController::windowDidResignKey()
{
    saveFrameForScreen(m_window.get());
    // Qt reports the focus lost by a hidden window only after a moment, and may do so just after
    // the window was shown again, before the window manager has focused it: the panel waits for
    // that answer rather than hiding itself as it appears.
    if (!m_activationAnswered.hasExpired()) {
        m_focusLossCheck.start(static_cast<int>(m_activationAnswered.remainingTime()));
        return;
    }
    hidePanelWithoutFocus();
}

void MainWindowController::hidePanelWithoutFocus()
{
    if (m_isKey || !m_floatingPanel || !m_window->isVisible())
        return;
    // The preview taking the focus must not hide the window it previews from.
    if (sharedFilesViewController && sharedFilesViewController->isPreviewPanelOpen())
        return;
    m_window->hide();
}

void MainWindowController::windowDidBecomeKey()
{
    // The window manager has answered: a focus loss from now on is the user's.
    m_activationAnswered = QDeadlineTimer();
    takeCommandKeyAsItIs();
    // Also when the window comes back from the task bar by the user's own hand.
    lookAtTheDocumentsAgain();
    TelemetryClient::shared().trackEvent(QStringLiteral("appDidBecomeActive"));
}

void MainWindowController::lookAtTheDocumentsAgain()
{
    // Documents are deleted and put back without their records changing: nothing else tells.
    // Asked before the first frame, the look comes after it, once.
    if (std::exchange(m_lookWaits, true))
        return;
    FirstFrame::after(this, [this] {
        m_lookWaits = false;
        VorlaneController::shared().revalidateInBackground();
    });
}

void MainWindowController::takeCommandKeyAsItIs()
{
    // While the window had no focus its Ctrl presses and releases went to other windows (the
    // shortcut that hides the window holds Ctrl): ask the keyboard itself.
    const bool held = QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
    if (held == commandKeyHeld)
        return;
    commandKeyHeld = held;
    NotificationCenter::defaultCenter().post(NotificationName::toggleModifierKey,
                                             QVariant::fromValue(static_cast<QObject*>(m_content)));
}

bool MainWindowController::keyDown(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Escape)
        return false;
    MainWindowHelper::hideMainWindow();
    return true;
}
