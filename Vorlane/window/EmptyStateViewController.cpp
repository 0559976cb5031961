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
    // The texts of a first start, as the .ui file has them.
    m_noDocumentsYetHeadline = ui->headline->text();
    m_noDocumentsYetBody = ui->body->text();
    viewDidLoad();
}

EmptyStateViewController::~EmptyStateViewController() = default;

QLabel* EmptyStateViewController::alertIcon() const
{
    return ui->alertIcon;
}

QLabel* EmptyStateViewController::headline() const
{
    return ui->headline;
}

QLabel* EmptyStateViewController::body() const
{
    return ui->body;
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
    ui->alertIcon->setAccessibleName(tr("No recent documents"));
    connect(ui->launchSystemPreferences, &QPushButton::clicked, this,
            &EmptyStateViewController::launchSystemPreferences);
    connect(ui->subheadButton, &QPushButton::clicked, this,
            &EmptyStateViewController::openLearnMore);
    styleTexts();
    showTexts();
}

void EmptyStateViewController::setDocumentsWereListed(bool listed)
{
    m_documentsWereListed = listed;
    showTexts();
}

void EmptyStateViewController::showTexts()
{
    if (m_documentsWereListed) {
        ui->headline->setText(tr("No recent documents left"));
        ui->body->setText(
            tr("The applications' lists of recent documents are empty now. The documents you open "
               "from here on appear here, under the application that opened them."));
    } else {
        ui->headline->setText(m_noDocumentsYetHeadline);
        ui->body->setText(m_noDocumentsYetBody);
    }
    // A button that could only stay greyed out says nothing: without settings to open there is
    // none, and the text names where history is switched on.
    ui->launchSystemPreferences->setVisible(!m_documentsWereListed &&
                                            PrivacySettings::shared().isAvailable());
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
