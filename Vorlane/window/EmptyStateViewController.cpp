#include "EmptyStateViewController.h"

#include "ImageNamed.h"
#include "PrivacySettings.h"
#include "ui_EmptyStateView.h"

#include <QDesktopServices>
#include <QEvent>
#include <QUrl>

const QUrl EmptyStateViewController::learnMoreUrl(
    QStringLiteral("https://ostrel.com/vorlane/recent-files"));

namespace {
constexpr int alertIconSize = 64;
} // namespace

EmptyStateViewController::EmptyStateViewController(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::EmptyStateViewController>())
{
    ui->setupUi(this);
    viewDidLoad();
}

EmptyStateViewController::~EmptyStateViewController() = default;

QLabel* EmptyStateViewController::alertIcon() const
{
    return ui->alertIcon;
}

QPushButton* EmptyStateViewController::launchSystemPreferencesButton() const
{
    return ui->launchSystemPreferences;
}

QPushButton* EmptyStateViewController::subheadButton() const
{
    return ui->subheadButton;
}

void EmptyStateViewController::viewDidLoad()
{
    setFixedSize(panelSize);
    ui->alertIcon->setPixmap(imageNamed(QStringLiteral("EmptyState"))
                                 .pixmap(QSize(alertIconSize, alertIconSize), devicePixelRatioF()));
    ui->alertIcon->setAccessibleName(QStringLiteral("No recent documents"));
    connect(ui->launchSystemPreferences, &QPushButton::clicked, this,
            &EmptyStateViewController::launchSystemPreferences);
    connect(ui->subheadButton, &QPushButton::clicked, this,
            &EmptyStateViewController::openLearnMore);
    if (!PrivacySettings::shared().isAvailable()) {
        ui->launchSystemPreferences->setEnabled(false);
        ui->launchSystemPreferences->setToolTip(
            QStringLiteral("This desktop has no privacy settings that Vorlane knows how to open."));
    }
    styleTexts();
}

void EmptyStateViewController::styleTexts()
{
    QFont headline = font();
    headline.setPointSizeF(font().pointSizeF() * 1.3);
    headline.setWeight(QFont::DemiBold);
    ui->headline->setFont(headline);
    QPalette body = palette();
    QColor text = body.color(QPalette::WindowText);
    text.setAlphaF(0.72f);
    body.setColor(QPalette::WindowText, text);
    ui->body->setPalette(body);
    // "Learn more" reads as a link, in the look's link colour.
    QPalette link = palette();
    link.setColor(QPalette::ButtonText, link.color(QPalette::Link));
    ui->subheadButton->setPalette(link);
}

void EmptyStateViewController::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        styleTexts();
}

void EmptyStateViewController::launchSystemPreferences()
{
    PrivacySettings::shared().open();
}

void EmptyStateViewController::openLearnMore()
{
    QDesktopServices::openUrl(learnMoreUrl);
}

void EmptyStateViewController::centerInPanel(QWidget* pane)
{
    if (m_pane)
        m_pane->removeEventFilter(this);
    m_pane = pane;
    if (m_pane)
        m_pane->installEventFilter(this);
    place();
}

void EmptyStateViewController::place()
{
    if (!m_pane || parentWidget() != m_pane)
        return;
    QRect frame(QPoint(), panelSize);
    frame.moveCenter(m_pane->rect().center() + centreOffset);
    setGeometry(frame);
}

bool EmptyStateViewController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pane && event->type() == QEvent::Resize)
        place();
    return QWidget::eventFilter(watched, event);
}
