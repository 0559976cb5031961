#include "PreferencesController.h"

#include "AppDelegate.h"
#include "AppearanceMenu.h"
#include "DefaultsKeys.h"
#include "DockMenu.h"
#include "HotKeys/RecorderField.h"
#include "LoginItem.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "MainWindowHelper.h"
#include "SharedReferences.h"
#include "StatusItem.h"
#include "ToggleShortcut.h"
#include "TouchStrip.h"
#include "UserDefaults.h"
#include "ui_PreferencesController.h"

#include <QTimer>

namespace {
void showNote(QLabel* label, const QString& text)
{
    label->setText(text);
    label->setVisible(!text.isEmpty());
}
} // namespace

PreferencesController::PreferencesController(QObject* parent)
    : WindowController(parent)
    , ui(std::make_unique<Ui::PreferencesController>())
{}

PreferencesController::~PreferencesController() = default;

std::unique_ptr<QWidget> PreferencesController::loadWindow()
{
    auto window = std::make_unique<QWidget>();
    ui->setupUi(window.get());
    return window;
}

void PreferencesController::windowDidLoad()
{
    sharedPreferencesWindow = window();
    center();
    addShortcutRecorder();
    showStoredChoices();
    connectControls();
    updateReachabilityNotes();
    if (AppDelegate* delegate = AppDelegate::shared())
        connect(delegate, &AppDelegate::trayAvailabilityChanged, this,
                &PreferencesController::updateReachabilityNotes);
}

void PreferencesController::addShortcutRecorder()
{
    auto* recorder = new HotKeys::RecorderField(toggleAppName(), {}, ui->shortcutView);
    ui->shortcutLabel->setBuddy(recorder);
    const QSize size(recorder->widthShowingTexts(recorderSize.width()), recorderSize.height());
    ui->shortcutView->setFixedSize(size);
    for (QWidget* subview : ui->shortcutView->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        subview->setGeometry(QRect(subview->pos(), size));
}

void PreferencesController::showStoredChoices()
{
    const UserDefaults& defaults = UserDefaults::standard();
    ui->toggleLoginCheckbox->setChecked(defaults.boolForKey(DefaultsKey::loginItem));
    // "ShowMenuBarIcon" is true while the icon is hidden.
    ui->toggleMenuBarCheckbox->setChecked(!defaults.boolForKey(DefaultsKey::showMenuBarIcon));
    const bool dockIconShown = defaults.boolForKey(DefaultsKey::showDockIcon);
    ui->toggleDockCheckbox->setChecked(dockIconShown);
    // Without the task-bar presence the window is always in auto-hide mode.
    ui->toggleAutoHideCheckbox->setEnabled(dockIconShown);
    ui->toggleAutoHideCheckbox->setChecked(
        !dockIconShown || defaults.boolForKey(DefaultsKey::autoHideWindowSetByUser));
    // Without a choice of the user's, the strip follows the touch screen.
    ui->toggleTouchStripCheckbox->setChecked(TouchStrip::isWanted());
    AppearanceMenu::select(ui->setAppearanceMenu);
}

void PreferencesController::connectControls()
{
    // User actions only: the stored state shown above sends nothing.
    connect(ui->setAppearanceMenu, &QComboBox::activated, this,
            &PreferencesController::setAppearance);
    connect(ui->toggleLoginCheckbox, &QCheckBox::clicked, this,
            &PreferencesController::toggleLoginWithSender);
    connect(ui->toggleMenuBarCheckbox, &QCheckBox::clicked, this,
            &PreferencesController::toggleMenuBarIconCheckbox);
    connect(ui->toggleDockCheckbox, &QCheckBox::clicked, this,
            &PreferencesController::toggleDockIconCheckboxWithSender);
    connect(ui->toggleAutoHideCheckbox, &QCheckBox::clicked, this,
            &PreferencesController::toggleAutoHide);
    connect(ui->toggleTouchStripCheckbox, &QCheckBox::clicked, this,
            &PreferencesController::toggleTouchStrip);
    connect(ui->centerWindowButton, &QPushButton::clicked, this,
            &PreferencesController::centerWindow);
    connect(ui->restoreDefaultSizeButton, &QPushButton::clicked, this,
            &PreferencesController::restoreDefaultSize);
}

void PreferencesController::showWindow()
{
    WindowController::showWindow();
    updateReachabilityNotes();
}

void PreferencesController::setAppearance()
{
    AppearanceMenu::store(ui->setAppearanceMenu, this);
}

void PreferencesController::toggleLoginWithSender()
{
    applyLoginItem(ui->toggleLoginCheckbox->isChecked());
}

void PreferencesController::toggleMenuBarIconCheckbox()
{
    const bool shown = ui->toggleMenuBarCheckbox->isChecked();
    UserDefaults::standard().setObject(DefaultsKey::showMenuBarIcon, !shown);
    if (AppDelegate* delegate = AppDelegate::shared()) {
        if (shown)
            delegate->createStatusItem();
        else
            delegate->removeStatusItem();
    }
    updateReachabilityNotes();
}

void PreferencesController::toggleDockIconCheckboxWithSender()
{
    QCheckBox* autoHide = ui->toggleAutoHideCheckbox;
    if (ui->toggleDockCheckbox->isChecked()) {
        // The user's own choice comes back.
        autoHide->setEnabled(true);
        autoHide->setChecked(
            UserDefaults::standard().boolForKey(DefaultsKey::autoHideWindowSetByUser));
        setWindowAutoHide(autoHide->isChecked());
    } else {
        autoHide->setEnabled(false);
        autoHide->setChecked(true);
        setWindowAutoHide(true);
        if (sharedMainWindowController && sharedMainWindowController->window())
            sharedMainWindowController->window()->hide();
        // The preferences stay in front.
        QTimer::singleShot(0, this, &PreferencesController::showWindow);
    }
    updateReachabilityNotes();
}

void PreferencesController::toggleAutoHide()
{
    // The mode itself changes when this window stops being main.
    const bool enabled = ui->toggleAutoHideCheckbox->isChecked();
    UserDefaults::standard().setObject(DefaultsKey::autoHideWindow, enabled);
    UserDefaults::standard().setObject(DefaultsKey::autoHideWindowSetByUser, enabled);
}

void PreferencesController::toggleTouchStrip()
{
    UserDefaults::standard().setObject(DefaultsKey::showTouchStrip,
                                       ui->toggleTouchStripCheckbox->isChecked());
    TouchStrip::choiceChanged();
}

void PreferencesController::centerWindow()
{
    DockMenu::centerWindow();
}

void PreferencesController::restoreDefaultSize()
{
    DockMenu::resetWindowSize();
}

void PreferencesController::windowDidResignMain()
{
    restoreToggleShortcut();
    setWindowAutoHide(ui->toggleAutoHideCheckbox->isChecked());
}

void PreferencesController::windowWillClose()
{
    restoreToggleShortcut();
    const bool dockIconShown = ui->toggleDockCheckbox->isChecked();
    UserDefaults::standard().setObject(DefaultsKey::showDockIcon, dockIconShown);
    if (AppDelegate* delegate = AppDelegate::shared())
        delegate->setDockIconShown(dockIconShown);
}

QString PreferencesController::trayNote(bool trayHostPresent)
{
    if (trayHostPresent)
        return {};
    return tr("This desktop shows no tray icons, so Vorlane keeps its window in the "
              "task bar.");
}

QString PreferencesController::dockNote(bool trayItemReachable, bool dockIconShown)
{
    if (dockIconShown || trayItemReachable)
        return {};
    return tr("With no tray icon to click, Vorlane stays in the task bar all the "
              "same. The shortcut, or starting Vorlane again, brings the window back.");
}

void PreferencesController::updateReachabilityNotes()
{
    if (!isWindowLoaded())
        return;
    const bool trayHostPresent = StatusItem::isTrayAvailable();
    const AppDelegate* delegate = AppDelegate::shared();
    const bool trayItemReachable = trayHostPresent && delegate && delegate->statusItem();
    showNote(ui->trayNote, trayNote(trayHostPresent));
    showNote(ui->dockNote, dockNote(trayItemReachable, ui->toggleDockCheckbox->isChecked()));
}
