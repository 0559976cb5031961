#pragma once

#include "HotKeys/SystemBinding.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// Shown beside a shortcut recorder while the desktop does not let Vorlane have a global shortcut
// (a refused binding; a Wayland desktop without the portal's shortcuts, where an X11 grab only
// sees keys while one of Vorlane's windows has the focus): it says so and offers the command to
// bind in the desktop's keyboard settings instead, with a button that copies it.
class ToggleCommandHint : public QWidget
{
    Q_OBJECT

public:
    explicit ToggleCommandHint(QWidget* parent = nullptr);

    // The command that asks the running Vorlane to show or hide its window: the installed
    // "vorlane" command when it is this program, else this program's own path.
    static QString toggleCommand();
    // The same for a program at executable and the "vorlane" found on the PATH (or none).
    static QString toggleCommand(const QString& executable, const QString& installed);
    // Whether the shortcut of this binding can summon Vorlane from anywhere.
    static bool reachesEveryWindow(const HotKeys::SystemBinding& binding, bool waylandSession);
    // The same for the shortcut that summons the window, in this session now.
    static bool toggleShortcutReachesEveryWindow();

    QLineEdit* commandField() const { return m_command; }
    QPushButton* copyButton() const { return m_copy; }

    // Shows or hides the hint for the shortcut's binding now.
    void refresh();

private:
    void copyCommand();

    QLabel* m_message;
    QLineEdit* m_command;
    QPushButton* m_copy;
};
