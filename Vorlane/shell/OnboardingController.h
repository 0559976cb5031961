#pragma once

#include "NotificationCenter.h"
#include "WindowController.h"

#include <QList>
#include <QSize>

#include <memory>

class EntranceAnimation;

namespace Ui {
class OnboardingController;
}

// The window that greets a first start until the user presses "Continue": artwork, a heading,
// the shortcut recorder, start at login and the appearance, rising into view part by part. It
// follows the light or dark look as it changes. Closing it any other way leaves it to greet the
// next start too; either way the main window comes forward.
class OnboardingController : public WindowController
{
    Q_OBJECT

public:
    static constexpr QSize recorderSize{164, 33};

    explicit OnboardingController(QObject* parent = nullptr);
    ~OnboardingController() override;

    // The appearance pop-up's action.
    void setAppearance();
    // "Continue": the onboarding is done and the window closes.
    void buttonPressedWithSender();

    bool animationComplete() const { return m_animationComplete; }
    // The entrance while it runs (or after it ran in this process), else null.
    EntranceAnimation* entranceAnimation() const { return m_entrance.get(); }
    // The parts that rise into view, in their order.
    QList<QWidget*> entranceParts() const;

    void showWindow() override;

protected:
    std::unique_ptr<QWidget> loadWindow() override;
    void windowDidLoad() override;
    void windowDidBecomeMain() override;
    void windowDidResignMain() override;
    void windowWillClose() override;

private:
    void applyLook();
    void observeLook();
    void connectControls();
    void runEntranceAnimation();
    void addShortcutRecorder();
    void styleTexts();

    std::unique_ptr<Ui::OnboardingController> ui;
    std::unique_ptr<EntranceAnimation> m_entrance;
    QList<NotificationCenter::Token> m_lookObservers;
    bool m_animationComplete = false;
};
