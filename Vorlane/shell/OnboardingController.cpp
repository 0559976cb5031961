#include "OnboardingController.h"

#include "Appearance.h"
#include "AppearanceMenu.h"
#include "DefaultsKeys.h"
#include "EntranceAnimation.h"
#include "HotKeys/RecorderField.h"
#include "ImageNamed.h"
#include "LoginItem.h"
#include "MainWindowHelper.h"
#include "SharedReferences.h"
#include "ThemePalette.h"
#include "ToggleShortcut.h"
#include "UserDefaults.h"
#include "ui_OnboardingController.h"

#include <QPointer>

// The artwork lives in this static library; its resources must be registered by hand.
static void registerShellArtwork()
{
    Q_INIT_RESOURCE(ShellArtwork);
}

namespace {
constexpr QSize onboardingHeroSize{360, 170};
constexpr int onboardingHeadingPixelSize = 24;
} // namespace

OnboardingController::OnboardingController(QObject* parent)
    : WindowController(parent)
    , ui(std::make_unique<Ui::OnboardingController>())
{}

OnboardingController::~OnboardingController()
{
    for (const NotificationCenter::Token token : std::as_const(m_lookObservers))
        NotificationCenter::defaultCenter().removeObserver(token);
}

std::unique_ptr<QWidget> OnboardingController::loadWindow()
{
    static const bool registered = (registerShellArtwork(), true);
    Q_UNUSED(registered);
    auto window = std::make_unique<QWidget>();
    ui->setupUi(window.get());
    return window;
}

void OnboardingController::windowDidLoad()
{
    sharedOnboardingWindow = window();
    styleTexts();
    applyLook();
    observeLook();
    addShortcutRecorder();
    ui->toggleLoginCheckbox->setChecked(
        UserDefaults::standard().boolForKey(DefaultsKey::loginItem));
    AppearanceMenu::select(ui->setAppearanceMenu);
    connectControls();
    // Sized by its content before it is placed.
    window()->adjustSize();
    center();
}

// The look follows the desktop's preference and the user's choice as they change.
void OnboardingController::observeLook()
{
    const QPointer<OnboardingController> self(this);
    for (const QString& name :
         {NotificationName::interfaceThemeChanged, NotificationName::appearanceChanged}) {
        m_lookObservers.append(
            NotificationCenter::defaultCenter().addObserver(name, {}, [self](const Notification&) {
                if (self)
                    self->applyLook();
            }));
    }
}

void OnboardingController::connectControls()
{
    connect(ui->toggleLoginCheckbox, &QCheckBox::clicked, this,
            [](bool checked) { applyLoginItem(checked); });
    connect(ui->setAppearanceMenu, &QComboBox::activated, this,
            &OnboardingController::setAppearance);
    connect(ui->button, &QPushButton::clicked, this,
            &OnboardingController::buttonPressedWithSender);
}

void OnboardingController::styleTexts()
{
    QFont heading = ui->headerText->font();
    heading.setPixelSize(onboardingHeadingPixelSize);
    heading.setWeight(QFont::DemiBold);
    ui->headerText->setFont(heading);
    ui->button->setDefault(true);
}

void OnboardingController::addShortcutRecorder()
{
    const auto* recorder = new HotKeys::RecorderField(toggleAppName(), {}, ui->shortcutView);
    const QSize size(recorder->widthShowingTexts(recorderSize.width()), recorderSize.height());
    ui->shortcutView->setFixedSize(size);
    for (QWidget* subview : ui->shortcutView->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        subview->setGeometry(QRect(QPoint(0, 0), size));
}

QList<QWidget*> OnboardingController::entranceParts() const
{
    return {ui->heroImage, ui->headerText, ui->shortcutWrapper, ui->loginWrapper, ui->button};
}

// Dark: the dark look's window colour; light: white.
void OnboardingController::applyLook()
{
    if (!isWindowLoaded())
        return;
    const bool dark = currentAppearanceName() == AppearanceName::darkAqua;
    QPalette palette = dark ? darkWidgetPalette() : lightWidgetPalette();
    if (!dark)
        palette.setColor(QPalette::Window, Qt::white);
    window()->setPalette(palette);
    window()->setAutoFillBackground(true);
    const QString hero =
        QStringLiteral("Onboarding_") + (dark ? QStringLiteral("dark") : QStringLiteral("light"));
    ui->heroImage->setPixmap(
        imageNamed(hero).pixmap(onboardingHeroSize, window()->devicePixelRatioF()));
}

void OnboardingController::showWindow()
{
    WindowController::showWindow();
    // Laid out and on screen now: the parts can rise to their places.
    if (!m_animationComplete)
        runEntranceAnimation();
}

void OnboardingController::runEntranceAnimation()
{
    m_animationComplete = true;
    m_entrance = std::make_unique<EntranceAnimation>(entranceParts());
}

void OnboardingController::windowDidBecomeMain()
{
    commandKeyHeld = false;
    ui->setAppearanceMenu->setItemText(0, tr("Automatic"));
    AppearanceMenu::select(ui->setAppearanceMenu);
    if (!m_animationComplete)
        runEntranceAnimation();
}

void OnboardingController::setAppearance()
{
    AppearanceMenu::store(ui->setAppearanceMenu, this);
}

void OnboardingController::windowDidResignMain()
{
    restoreToggleShortcut();
}

void OnboardingController::windowWillClose()
{
    setWindowAutoHide(UserDefaults::standard().boolForKey(DefaultsKey::autoHideWindow));
    restoreToggleShortcut();
    MainWindowHelper::showMainWindow();
}

void OnboardingController::buttonPressedWithSender()
{
    UserDefaults::standard().setObject(DefaultsKey::onboardingCompleted, true);
    close();
}
