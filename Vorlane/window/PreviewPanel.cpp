#include "PreviewPanel.h"

#include "MainWindow.h"
#include "MainWindowController.h"
#include "MainWindowHelper.h"
#include "NotificationCenter.h"
#include "PreviewContentView.h"
#include "PreviewPanelController.h"
#include "PreviewPanelDataSource.h"
#include "PreviewPanelDelegate.h"
#include "PreviewZoom.h"
#include "SharedReferences.h"
#include "ThemePalette.h"
#include "UserDefaults.h"
#include "X11Window.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHideEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

namespace {
QPointer<PreviewPanel> sharedPanel;

// The picture grows to this share of the window's size.
constexpr qreal zoomShare = 0.75;
} // namespace

const QString PreviewPanel::sizeKey = QStringLiteral("PreviewPanelSize");

PreviewPanel* PreviewPanel::sharedPreviewPanel()
{
    if (!sharedPanel && sharedMainWindowController && sharedMainWindowController->window())
        sharedPanel = new PreviewPanel(sharedMainWindowController->window());
    return sharedPanel;
}

bool PreviewPanel::sharedPreviewPanelExists()
{
    return !sharedPanel.isNull();
}

PreviewPanel::PreviewPanel(QWidget* browsingWindow)
    : QWidget(browsingWindow, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                  Qt::WindowCloseButtonHint)
    , m_content(new PreviewContentView(this))
{
    setObjectName(QStringLiteral("PreviewPanel"));
    setWindowTitle(tr("Preview"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setMinimumSize(minimumPanelSize);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_content);
    setAutoFillBackground(true);
    applyLook();
    observeTheLook();
    browsingWindow->installEventFilter(this);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &PreviewPanel::focusWindowChanged);
}

PreviewPanel::~PreviewPanel()
{
    for (const NotificationCenter::Token token : std::as_const(m_lookObservers))
        NotificationCenter::defaultCenter().removeObserver(token);
    endControl();
}

void PreviewPanel::controllerWillGoAway(PreviewPanelController* controller)
{
    if (!sharedPanel || sharedPanel->m_controller != controller)
        return;
    sharedPanel->hide();
    sharedPanel->endControl();
}

PreviewPanelController* PreviewPanel::controllerFor(QObject* sender)
{
    for (QObject* object = sender; object; object = object->parent()) {
        auto* controller = dynamic_cast<PreviewPanelController*>(object);
        if (controller && controller->acceptsPreviewPanelControl(this))
            return controller;
    }
    return nullptr;
}

void PreviewPanel::orderFront(QObject* sender)
{
    PreviewPanelController* controller = controllerFor(sender);
    if (controller != m_controller) {
        endControl();
        if (controller)
            takeControl(controller);
    }
    const bool opening = !isVisible();
    if (opening) {
        applyLook();
        keepAboveTheBrowsingWindow();
    }
    reloadData();
    placeOnFirstShow();
    // The controller knows the panel is open before the panel takes the focus from its window.
    show();
    activate();
    if (opening)
        zoomIn();
}

void PreviewPanel::takeControl(PreviewPanelController* controller)
{
    m_controller = controller;
    controller->beginPreviewPanelControl(this);
}

void PreviewPanel::endControl()
{
    if (PreviewPanelController* controller = std::exchange(m_controller, nullptr))
        controller->endPreviewPanelControl(this);
    // Whatever the controller left, the panel keeps no pointer to it.
    m_dataSource = nullptr;
    m_delegate = nullptr;
}

void PreviewPanel::reloadData()
{
    const int count = m_dataSource ? m_dataSource->numberOfPreviewItems(this) : 0;
    const QUrl item = count > 0 ? m_dataSource->previewItemAt(this, 0) : QUrl();
    setWindowTitle(item.isEmpty() ? tr("Preview") : QFileInfo(item.toLocalFile()).fileName());
    if (item != m_content->item())
        m_content->showItem(item);
}

void PreviewPanel::placeOnFirstShow()
{
    if (m_placed)
        return;
    m_placed = true;
    const QVariant stored = UserDefaults::standard().object(sizeKey);
    const QSize remembered = stored.toSize();
    QSize size = remembered.isValid() ? remembered : defaultSize;
    const QScreen* screen =
        parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(QPoint(), size);
    size = size.expandedTo(minimumPanelSize).boundedTo(area.size());
    resize(size);
    move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

void PreviewPanel::keepAboveTheBrowsingWindow()
{
    // In auto-hide mode the browsing window floats above the others; the panel must be above it.
    // Changing a flag remakes the native window: only while the panel is hidden.
    const bool above = sharedMainWindowController && sharedMainWindowController->isFloatingPanel();
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) != above)
        setWindowFlag(Qt::WindowStaysOnTopHint, above);
}

void PreviewPanel::activate()
{
    // Raised with the request for the focus.
    if (X11Window::isAvailable())
        X11Window::activate(windowHandle(), X11Window::serverTime());
    else
        activateWindow();
}

void PreviewPanel::zoomIn()
{
    if (!m_delegate)
        return;
    const QUrl item = m_content->item();
    const QRect from = m_delegate->sourceFrameOnScreen(this, item);
    const QPixmap image = m_delegate->transitionImage(this, item);
    if (from.isEmpty() || image.isNull())
        return;
    const QRect area = geometry();
    const QSize grown = image.deviceIndependentSize()
                            .scaled(QSizeF(area.size()) * zoomShare, Qt::KeepAspectRatio)
                            .toSize();
    const QRect to(area.center() - QPoint(grown.width() / 2, grown.height() / 2), grown);
    (new PreviewZoom(image, from, to, this))->start();
}

void PreviewPanel::showEvent(QShowEvent* event)
{
    QWindow* window = windowHandle();
    if (window != m_keyWindow) {
        if (m_keyWindow)
            m_keyWindow->removeEventFilter(this);
        m_keyWindow = window;
        window->installEventFilter(this);
    }
    // The browsing window's own window is made again when its mode changes.
    if (parentWidget() && parentWidget()->windowHandle())
        window->setTransientParent(parentWidget()->windowHandle());
    // On every workspace and out of the task bar, before the window manager maps it.
    X11Window::setPanelStates(window, {.sticky = true, .skipTaskbar = true});
    QWidget::showEvent(event);
}

void PreviewPanel::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous())
        return;
    UserDefaults::standard().setObject(sizeKey, size());
    const bool hadFocus = m_hasFocus;
    endControl();
    // Closed from its own keys: they go back to the window it previewed from.
    MainWindowController* main = sharedMainWindowController;
    if (hadFocus && main && main->window() && main->window()->isShown())
        main->showWindow();
}

void PreviewPanel::observeTheLook()
{
    // The window applies a new look on these; the panel takes it afterwards.
    for (const QString& name :
         {NotificationName::interfaceThemeChanged, NotificationName::appearanceChanged})
        m_lookObservers.append(NotificationCenter::defaultCenter().addObserver(
            name, {}, [self = QPointer<PreviewPanel>(this)](const Notification&) {
                QMetaObject::invokeMethod(
                    qApp,
                    [self] {
                        if (self)
                            self->applyLook();
                    },
                    Qt::QueuedConnection);
            }));
}

void PreviewPanel::applyLook()
{
    // The program's look, with the window's own background.
    QPalette look = themePalette().widgetPalette;
    look.setColor(QPalette::Window, themePalette().backgroundColor);
    setPalette(look);
}

bool PreviewPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && isPutAway(event))
        hide();
    else if (watched == m_keyWindow && event->type() == QEvent::KeyPress)
        return handleKey(static_cast<QKeyEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

bool PreviewPanel::isPutAway(const QEvent* event) const
{
    // Hidden, or iconified in the task bar.
    return event->type() == QEvent::Hide ||
           (event->type() == QEvent::WindowStateChange && parentWidget()->isMinimized());
}

bool PreviewPanel::handleKey(QKeyEvent* event)
{
    if (m_delegate && m_delegate->handleEvent(this, event))
        return true;
    if (m_content->handleKey(event))
        return true;
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Space) {
        close();
        return true;
    }
    return false;
}

void PreviewPanel::focusWindowChanged(QWindow* focusWindow)
{
    m_hasFocus = focusWindow && focusWindow == windowHandle();
    if (focusWindow || !isVisible())
        return;
    // Vorlane lost the focus to another program: the preview closes and, in auto-hide mode, so
    // does the window it kept up.
    hide();
    if (sharedMainWindowController && sharedMainWindowController->isFloatingPanel())
        MainWindowHelper::hideMainWindow();
}
