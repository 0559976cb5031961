#include "AboutController.h"

#include "ImageNamed.h"
#include "ProductLinks.h"
#include "SharedReferences.h"
#include "ui_AboutController.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QEvent>

namespace {
constexpr QSize aboutIconSize{96, 96};
constexpr int aboutNamePixelSize = 20;
} // namespace

AboutController::Versions AboutController::versionsFrom(const QString& applicationVersion)
{
    const qsizetype lastDot = applicationVersion.lastIndexOf(u'.');
    // "2.1" alone, or a version of one number, has no build part.
    if (lastDot <= 0 || applicationVersion.count(u'.') < 2)
        return {applicationVersion, {}};
    return {applicationVersion.left(lastDot), applicationVersion.mid(lastDot + 1)};
}

QString AboutController::versionText(const Versions& versions)
{
    QString text = tr("Version %1").arg(versions.shortVersion);
    if (!versions.bundleVersion.isEmpty())
        text += QStringLiteral(" (") + versions.bundleVersion + u')';
    return text;
}

AboutController::AboutController(QObject* parent)
    : WindowController(parent)
    , ui(std::make_unique<Ui::AboutController>())
    , m_versions(versionsFrom(QCoreApplication::applicationVersion()))
{}

AboutController::~AboutController() = default;

std::unique_ptr<QWidget> AboutController::loadWindow()
{
    auto window = std::make_unique<QWidget>();
    ui->setupUi(window.get());
    return window;
}

void AboutController::windowDidLoad()
{
    sharedAboutWindow = window();
    ui->appIcon->setPixmap(
        imageNamed(QStringLiteral("Vorlane")).pixmap(aboutIconSize, window()->devicePixelRatioF()));
    QFont name = ui->appName->font();
    name.setPixelSize(aboutNamePixelSize);
    name.setWeight(QFont::DemiBold);
    ui->appName->setFont(name);
    ui->versionNumber->setText(versionText(m_versions));
    for (QPushButton* link : {ui->followButton, ui->websiteButton})
        link->setCursor(Qt::PointingHandCursor);
    colourLinks();
    connect(ui->followButton, &QPushButton::clicked, this, &AboutController::followButtonAction);
    connect(ui->websiteButton, &QPushButton::clicked, this, &AboutController::websiteButtonAction);
    window()->adjustSize();
    center();
}

void AboutController::colourLinks()
{
    for (QPushButton* link : {ui->followButton, ui->websiteButton}) {
        QPalette palette = link->palette();
        palette.setColor(QPalette::ButtonText, palette.color(QPalette::Link));
        link->setPalette(palette);
    }
}

bool AboutController::eventFilter(QObject* watched, QEvent* event)
{
    // The look changed: the links take its link colour.
    const bool paletteChanged =
        event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange;
    // Once the window has passed the new palette on to its controls.
    if (paletteChanged && isWindowLoaded() && watched == window())
        QMetaObject::invokeMethod(this, &AboutController::colourLinks, Qt::QueuedConnection);
    return WindowController::eventFilter(watched, event);
}

void AboutController::followButtonAction()
{
    QDesktopServices::openUrl(ProductLinks::follow());
}

void AboutController::websiteButtonAction()
{
    QDesktopServices::openUrl(ProductLinks::website());
}
