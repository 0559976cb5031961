#include "HotKeys/UserFeedback.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace HotKeys {
namespace {

UserFeedback::BeepHandler& beepHandler()
{
    static UserFeedback::BeepHandler handler;
    return handler;
}

UserFeedback::AlertHandler& alertHandler()
{
    static UserFeedback::AlertHandler handler;
    return handler;
}

int runMessageBox(QWidget* window, const QString& title, const QString& message,
                  const QStringList& buttons)
{
    QMessageBox box(window);
    box.setIcon(QMessageBox::Warning);
    box.setText(title);
    box.setInformativeText(message);
    if (window)
        box.setWindowModality(Qt::WindowModal);
    QList<QAbstractButton*> added;
    for (const QString& text : buttons) {
        const auto role = added.isEmpty() ? QMessageBox::AcceptRole : QMessageBox::ActionRole;
        added.append(box.addButton(text, role));
    }
    if (added.isEmpty())
        added.append(box.addButton(QMessageBox::Ok));
    // The first button is the safe answer: Escape and closing the box choose it too, never an
    // answer such as "use it anyway".
    box.setDefaultButton(static_cast<QPushButton*>(added.first()));
    box.setEscapeButton(added.first());
    box.exec();
    return std::max<int>(0, static_cast<int>(added.indexOf(box.clickedButton())));
}

} // namespace

void UserFeedback::beep()
{
    if (beepHandler())
        beepHandler()();
    else
        QApplication::beep();
}

int UserFeedback::runAlert(QWidget* window, const QString& title, const QString& message,
                           const QStringList& buttons)
{
    if (alertHandler())
        return alertHandler()(window, title, message, buttons);
    return runMessageBox(window, title, message, buttons);
}

void UserFeedback::setBeepHandler(BeepHandler handler)
{
    beepHandler() = std::move(handler);
}

void UserFeedback::setAlertHandler(AlertHandler handler)
{
    alertHandler() = std::move(handler);
}

} // namespace HotKeys
