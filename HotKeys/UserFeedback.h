#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace HotKeys {

// The beep and the alerts of the recorder. Both can be replaced, so that automated checks can
// see a beep and answer an alert without a person at the keyboard.
class UserFeedback
{
public:
    using BeepHandler = std::function<void()>;
    // Returns the index of the chosen button, the first being 0.
    using AlertHandler = std::function<int(QWidget* window, const QString& title,
                                           const QString& message, const QStringList& buttons)>;

    static void beep();
    // A sheet on the window when there is one, else an application-modal alert; waits for the
    // answer. Without buttons the alert has the platform's single OK button.
    static int runAlert(QWidget* window, const QString& title, const QString& message = {},
                        const QStringList& buttons = {});

    // An empty handler brings back the platform's own.
    static void setBeepHandler(BeepHandler handler);
    static void setAlertHandler(AlertHandler handler);
};

} // namespace HotKeys
