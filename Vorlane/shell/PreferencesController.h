#pragma once

#include "WindowController.h"

#include <QSize>

#include <memory>

namespace Ui {
class PreferencesController;
}

// The preferences window: the shortcut that summons Vorlane, start at login, the tray icon, the
// task-bar presence, auto-hide, the touch strip, the appearance, and putting the main window back
// in the middle or at its first size. Each choice is stored at once and takes effect at once,
// except the task-bar presence (when the window closes) and auto-hide (when the window stops being
// main, or at once when the task-bar presence changes).
class PreferencesController : public WindowController
{
    Q_OBJECT

public:
    static constexpr QSize recorderSize{180, 26};

    explicit PreferencesController(QObject* parent = nullptr);
    ~PreferencesController() override;

    // The controls' actions.
    void setAppearance();
    void toggleLoginWithSender();
    void toggleMenuBarIconCheckbox();
    void toggleDockIconCheckboxWithSender();
    void toggleAutoHide();
    void toggleTouchStrip();
    void centerWindow();
    void restoreDefaultSize();

    // What the window says beside the tray and the task-bar checkboxes, so that hiding both never
    // leaves the user wondering how to get back to Vorlane; empty when there is nothing to say.
    static QString trayNote(bool trayHostPresent);
    static QString dockNote(bool trayItemReachable, bool dockIconShown);
    // Brings both notes up to date with the desktop's tray and the checkboxes.
    void updateReachabilityNotes();

    void showWindow() override;

protected:
    std::unique_ptr<QWidget> loadWindow() override;
    void windowDidLoad() override;
    void windowDidResignMain() override;
    void windowWillClose() override;

private:
    void addShortcutRecorder();
    void showStoredChoices();
    void connectControls();

    std::unique_ptr<Ui::PreferencesController> ui;
};
