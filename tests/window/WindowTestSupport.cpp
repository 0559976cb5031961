#include "WindowTestSupport.h"

#include "ClearConfirmation.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "RecentlyUsedSource.h"
#include "SharedReferences.h"
#include "UserDefaults.h"
#include "VorlaneController.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <cmath>

WindowTestHome::WindowTestHome()
{
    UserDefaults::standard().reload();
    UserDefaults::global().reload();
    auto appearance = std::make_unique<StandInAppearance>();
    m_appearance = appearance.get();
    AppearanceService::replaceShared(std::move(appearance));
    auto launcher = std::make_unique<RecordingLauncher>();
    m_launcher = launcher.get();
    ApplicationLauncher::replaceShared(std::move(launcher));
    auto fileManager = std::make_unique<RecordingFileManager>();
    m_fileManager = fileManager.get();
    FileManagerService::replaceShared(std::move(fileManager));
    auto loginItems = std::make_unique<RecordingLoginItems>();
    m_loginItems = loginItems.get();
    LoginItemService::replaceShared(std::move(loginItems));
    auto privacy = std::make_unique<RecordingPrivacySettings>();
    m_privacy = privacy.get();
    PrivacySettings::replaceShared(std::move(privacy));
}

WindowTestHome::~WindowTestHome() = default;

QString WindowTestHome::addApplication(const QString& id, const QString& name, int minutesAgo,
                                       int documents)
{
    m_home.installApplication(id, name);
    const QDateTime when = QDateTime::currentDateTime().addSecs(-60LL * minutesAgo);
    QStringList paths;
    for (int i = 0; i < documents; ++i)
        paths << m_home.createDocument(
            QStringLiteral("Documents/%1/Document %2.txt").arg(name).arg(i + 1), when);
    return m_home.writeRecord(id, paths, when);
}

void WindowTestHome::removeApplication(const QString& id)
{
    QFile::remove(m_home.recordFolder() + u'/' + id + QStringLiteral(".sfl3"));
}

QString WindowTestHome::addSharedRecordApplication(const QString& id, const QString& name,
                                                   int minutesAgo)
{
    m_home.installApplication(id, name);
    const QDateTime when = QDateTime::currentDateTime().addSecs(-60LL * minutesAgo);
    const QString document =
        m_home.createDocument(QStringLiteral("Documents/%1/Shared.txt").arg(name), when);
    const QString stamp = when.toUTC().toString(Qt::ISODateWithMs);
    // As GTK registers a document: the application's display name and its quoted command.
    const QString xbel =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xbel version=\"1.0\" "
                       "xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\">"
                       "\n<bookmark href=\"%1\" added=\"%2\" modified=\"%2\" visited=\"%2\">"
                       "<info><metadata owner=\"http://freedesktop.org\"><bookmark:applications>"
                       "<bookmark:application name=\"%3\" exec=\"&apos;%4 %u&apos;\" "
                       "modified=\"%2\" count=\"1\"/></bookmark:applications></metadata></info>"
                       "</bookmark>\n</xbel>\n")
            .arg(QString::fromUtf8(QUrl::fromLocalFile(document).toEncoded()), stamp, name,
                 id.section(u'.', -1).toLower());
    m_home.writeFile(recentlyUsedFilePath(), xbel.toUtf8());
    return recentlyUsedEntryUrl(recentlyUsedFilePath(), id).toString();
}

void WindowTestHome::clear()
{
    QDir(m_home.recordFolder()).removeRecursively();
    QFile::remove(recentlyUsedFilePath());
    // A write still on its way would bring the file back.
    UserDefaults::standard().synchronize();
    QFile::remove(UserDefaults::standard().filePath());
    UserDefaults::standard().reload();
}

QString WindowTestHome::setting(const QString& key)
{
    UserDefaults::standard().reload();
    return UserDefaults::standard().stringForKey(key);
}

bool showFocusedMainWindow(std::unique_ptr<MainWindowController>& controller)
{
    controller.reset();
    controller = std::make_unique<MainWindowController>();
    sharedMainWindowController = controller.get();
    MainWindow* window = controller->window();
    window->resize(780, 440);
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

ClearConfirmation* shownClearConfirmation(int waitMs)
{
    QDeadlineTimer deadline(waitMs);
    do {
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget* window : windows) {
            auto* box = qobject_cast<ClearConfirmation*>(window);
            if (box && box->isVisible())
                return box;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    } while (!deadline.hasExpired());
    return nullptr;
}

bool answerClearConfirmation(bool clear)
{
    ClearConfirmation* box = shownClearConfirmation();
    if (!box)
        return false;
    QAbstractButton* answer = clear ? box->clearButton() : box->button(QMessageBox::Cancel);
    answer->click();
    return true;
}

bool refreshStoreAndWait()
{
    bool reloaded = false;
    VorlaneController& store = VorlaneController::shared();
    store.refreshFromStore();
    // A rebuild may run on a worker thread; it is done when nothing is being built.
    QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (!store.isRefreshing()) {
            reloaded = true;
            break;
        }
        QThread::msleep(2);
    }
    return reloaded;
}

double contrastRatio(QRgb a, QRgb b)
{
    const auto luminance = [](QRgb pixel) {
        const auto channel = [](int value) {
            const double c = value / 255.0;
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(qRed(pixel)) + 0.7152 * channel(qGreen(pixel)) +
               0.0722 * channel(qBlue(pixel));
    };
    // std::minmax of temporaries would hand back references to values already gone.
    const double first = luminance(a);
    const double second = luminance(b);
    const double light = std::max(first, second);
    const double dark = std::min(first, second);
    return (light + 0.05) / (dark + 0.05);
}
