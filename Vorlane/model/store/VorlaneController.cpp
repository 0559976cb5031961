#include "VorlaneController.h"

#include "BuildRecentApps.h"
#include "Calendar.h"
#include "Diagnostics.h"
#include "DocumentPresence.h"
#include "HeapPages.h"
#include "NotificationCenter.h"
#include "RecentSources.h"
#include "TelemetryClient.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {
void callIfSet(const std::function<void()>& hook)
{
    if (hook)
        hook();
}

// The entry and the entries of other sources merged into it, each as its own source gave it.
QList<RecentApp> partsOf(const RecentApp& app)
{
    QList<RecentApp> parts{app};
    for (const QUrl& filePath : app.mergedFilePaths())
        parts.append(
            RecentApp(app.sourceApp(), filePath, filePath.toString(), app.dateModified(), {}, {}));
    return parts;
}

void reportFailedDeletion(const QString& path, const QString& reason)
{
    Diagnostics::write(QStringLiteral("File to delete: ") + path);
    Diagnostics::write(QStringLiteral("Ooops! Something went wrong trying to delete: ") + reason);
}
} // namespace

VorlaneController::VorlaneController()
    : VorlaneController(FirstBuild::atOnce)
{}

VorlaneController::VorlaneController(FirstBuild firstBuild)
{
    if (firstBuild == FirstBuild::atOnce) {
        rebuild();
        return;
    }
    apply(std::nullopt, {});
    m_awaitingFirstList = true;
    // The window waits for this first list: the worker's heap, made as it starts, takes large
    // pages.
    HeapPages::growHeapsInLargeSteps();
    m_backWorkerHeap = true;
    startBuildingInBackground();
}

VorlaneController::~VorlaneController()
{
    // A clear asked for is finished, not lost.
    if (m_clearer)
        m_clearer->waitForDone();
    if (m_builder)
        m_builder->waitForDone();
}

namespace {
VorlaneController::FirstBuild sharedFirstBuild = VorlaneController::FirstBuild::atOnce;
} // namespace

VorlaneController& VorlaneController::shared()
{
    static VorlaneController store(sharedFirstBuild);
    return store;
}

void VorlaneController::buildSharedInBackground()
{
    sharedFirstBuild = FirstBuild::inBackground;
    shared();
}

QString VorlaneController::ownBundlePath()
{
    if (!QCoreApplication::instance())
        return {};
    // The executable lives in Vorlane.app/Contents/MacOS; the bundle is two folders up.
    const QString executableFolder = QCoreApplication::applicationDirPath();
    const QString bundle = QDir::cleanPath(executableFolder + QStringLiteral("/../.."));
    return bundle.endsWith(QStringLiteral(".app")) ? bundle : executableFolder;
}

RecentApp VorlaneController::placeholder() const
{
    return RecentApp(ownBundlePath(), QUrl(QString()), QStringLiteral("Vorlane"),
                     Calendar::current().now(), {}, {});
}

const RecentApp* VorlaneController::appNamed(const QString& name) const
{
    if (name.isEmpty())
        return nullptr;
    const auto found = std::find_if(m_recentApps.cbegin(), m_recentApps.cend(),
                                    [&name](const RecentApp& app) { return app.name() == name; });
    return found == m_recentApps.cend() ? nullptr : &*found;
}

void VorlaneController::rebuild()
{
    std::optional<QList<RecentApp>> apps = buildRecentApps();
    QStringList vanished =
        DocumentPresence::vanished(m_recentApps, m_vanished, apps.value_or(QList<RecentApp>()));
    apply(std::move(apps), std::move(vanished));
}

void VorlaneController::apply(std::optional<QList<RecentApp>> apps, QStringList vanished)
{
    m_vanished = std::move(vanished);
    m_recentApps.clear();
    if (apps) {
        m_isEmpty = false;
        m_recentApps = std::move(*apps);
    } else {
        m_isEmpty = true;
        m_recentApps.append(placeholder());
    }
}

void VorlaneController::refreshFromStore()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) {
        rebuild();
        reloadViews();
        return;
    }
    if (m_building) {
        m_refreshAgain = true;
        return;
    }
    startBuildingInBackground();
}

QObject* VorlaneController::receiver()
{
    if (!m_receiver)
        m_receiver = std::make_unique<QObject>();
    return m_receiver.get();
}

QThreadPool& VorlaneController::builder()
{
    if (!m_builder) {
        m_builder = std::make_unique<QThreadPool>();
        // Rebuilds and looks at the documents take turns.
        m_builder->setMaxThreadCount(1);
    }
    return *m_builder;
}

void VorlaneController::startBuildingInBackground()
{
    m_building = true;
    receiver();
    auto built = std::make_shared<std::promise<Built>>();
    m_built = built->get_future();
    const quint64 build = ++m_buildNumber;
    // The lists are shared, never changed: the worker reads its own copies.
    builder().start([this, built, build, previous = m_recentApps, earlier = m_vanished,
                     backHeap = std::exchange(m_backWorkerHeap, false)] {
        if (backHeap) {
            HeapPages::backThisThreadsHeap();
            HeapPages::restoreHeapGrowth();
        }
        std::optional<QList<RecentApp>> apps = buildRecentApps();
        QStringList vanished =
            DocumentPresence::vanished(previous, earlier, apps.value_or(QList<RecentApp>()));
        built->set_value({std::move(apps), std::move(vanished)});
        QMetaObject::invokeMethod(
            m_receiver.get(), [this, build] { takeBuilt(build); }, Qt::QueuedConnection);
    });
}

void VorlaneController::takeBuilt(quint64 build)
{
    if (build != m_buildNumber || !m_built.valid())
        return;
    Built built = m_built.get();
    m_building = false;
    m_awaitingFirstList = false;
    apply(std::move(built.apps), std::move(built.vanished));
    reloadViews();
    if (std::exchange(m_refreshAgain, false))
        startBuildingInBackground();
    else if (std::exchange(m_revalidateAgain, false))
        revalidateInBackground();
}

void VorlaneController::waitForFirstList()
{
    if (m_awaitingFirstList)
        takeBuilt(m_buildNumber);
}

void VorlaneController::revalidateInBackground()
{
    const auto changed = [](const QList<RecentApp>& apps, const QStringList& vanished) {
        return DocumentPresence::anyMissing(apps) || DocumentPresence::anyBack(vanished);
    };
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) {
        if (changed(m_recentApps, m_vanished))
            refreshFromStore();
        return;
    }
    // The look under way, or the rebuild, may have seen the disk before the news: look again
    // after it.
    if (m_building || m_revalidating) {
        m_revalidateAgain = true;
        return;
    }
    m_revalidating = true;
    receiver();
    builder().start([this, changed, apps = m_recentApps, vanished = m_vanished] {
        const bool refresh = changed(apps, vanished);
        QMetaObject::invokeMethod(
            m_receiver.get(),
            [this, refresh] {
                m_revalidating = false;
                if (refresh)
                    refreshFromStore();
                else if (std::exchange(m_revalidateAgain, false))
                    revalidateInBackground();
            },
            Qt::QueuedConnection);
    });
}

void VorlaneController::reloadViews()
{
    if (!m_lastEmptyState || *m_lastEmptyState != m_isEmpty)
        callIfSet(m_hooks.showContentOrEmptyState);
    m_lastEmptyState = m_isEmpty;
    callIfSet(m_hooks.reloadApplications);
    callIfSet(m_hooks.reloadFilesTable);
    callIfSet(m_hooks.reloadFilesGrid);
    callIfSet(m_hooks.reloadApplicationsScrubber);
    callIfSet(m_hooks.reloadFilesScrubber);
}

bool VorlaneController::deleteRecordFile(const QString& path)
{
    TelemetryClient::shared().trackEvent(QStringLiteral("removeApp"));
    const RecentSources sources;
    const RecentSource* watcher = sources.watcherOf(path);
    if (watcher && watcher->clearing() == RecentSource::Clearing::removeRegistrations) {
        // Several applications' histories live in that one file (the desktop's recently-used
        // file, Adobe's list).
        reportFailedDeletion(path, QStringLiteral("A file several applications keep their "
                                                  "history in is cleared one application at a "
                                                  "time."));
        return false;
    }
    // unlink() removes exactly the named file: a link itself rather than its target, and never
    // a folder.
    if (::unlink(QFile::encodeName(path).constData()) != 0) {
        reportFailedDeletion(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // The monitor reports what it watches; the rest would only show at the next change.
    if (!watcher)
        NotificationCenter::defaultCenter().post(NotificationName::backgroundUpdate);
    return true;
}

bool VorlaneController::clearFiles(const RecentApp& app)
{
    const RecentSources sources;
    bool cleared = true;
    for (const RecentApp& part : partsOf(app))
        cleared = clearPart(sources, part) && cleared;
    return cleared;
}

bool VorlaneController::clearPart(const RecentSources& sources, const RecentApp& app)
{
    const RecentSource* source = sources.ownerOf(app);
    if (!source || source->clearing() == RecentSource::Clearing::deleteRecordFile)
        return deleteRecordFile(app.filePath().path());
    if (source->clearing() == RecentSource::Clearing::keptByItsOwner) {
        reportFailedDeletion(app.filePath().toLocalFile(), source->notClearedBecause());
        return false;
    }

    // One application's registrations come out of the shared file; everyone else's stay.
    TelemetryClient::shared().trackEvent(QStringLiteral("removeApp"));
    QString error;
    if (!source->removeRegistrations(app, &error)) {
        reportFailedDeletion(app.filePath().toLocalFile(), error);
        return false;
    }
    NotificationCenter::defaultCenter().post(NotificationName::backgroundUpdate);
    return true;
}

QString VorlaneController::notClearedBecause(const RecentApp& app) const
{
    const RecentSources sources;
    QString reason;
    for (const RecentApp& part : partsOf(app)) {
        const RecentSource* source = sources.ownerOf(part);
        if (!source || source->clearing() != RecentSource::Clearing::keptByItsOwner)
            return {};
        reason = source->notClearedBecause();
    }
    return reason;
}

QString VorlaneController::notRemovableBecause(const RecentApp& app) const
{
    const RecentSources sources;
    for (const RecentApp& part : partsOf(app)) {
        const RecentSource* source = sources.ownerOf(part);
        if (source && source->canRemoveDocument(part))
            continue;
        if (source && source->clearing() == RecentSource::Clearing::keptByItsOwner)
            return source->notClearedBecause();
        return QCoreApplication::translate(
            "VorlaneController", "Only the recently-used files and KDE's recent documents "
                                 "list can lose one document; this history is cleared whole");
    }
    return {};
}

bool VorlaneController::removeDocument(const RecentApp& app, const RecentFile& file, QString* error)
{
    const QString reason = notRemovableBecause(app);
    if (!reason.isEmpty()) {
        if (error)
            *error = reason;
        return false;
    }
    // Every part of the entry loses the document; a part that never had it is left as it is.
    const RecentSources sources;
    bool removed = true;
    for (const RecentApp& part : partsOf(app))
        removed = sources.ownerOf(part)->removeDocument(part, file, error) && removed;
    NotificationCenter::defaultCenter().post(NotificationName::backgroundUpdate);
    return removed;
}

QList<RecentApp> VorlaneController::alsoClearedBy(const RecentApp& app,
                                                  const QList<RecentApp>& listed)
{
    const RecentSources sources;
    const RecentSource* source = sources.ownerOf(app);
    if (source && source->clearing() != RecentSource::Clearing::deleteRecordFile)
        return {};
    const QString file = app.filePath().toLocalFile();
    QList<RecentApp> others;
    if (file.isEmpty())
        return others;
    for (const RecentApp& other : listed)
        if (other.name() != app.name() && other.filePath().toLocalFile() == file)
            others.append(other);
    return others;
}

void VorlaneController::clearFilesInBackground(const RecentApp& app,
                                               std::function<void(bool cleared)> done)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || QThread::currentThread() != application->thread()) {
        const bool cleared = clearFiles(app);
        if (done)
            done(cleared);
        return;
    }
    if (!m_clearer) {
        m_clearer = std::make_unique<QThreadPool>();
        // Clears of the shared file must not race each other for its lock.
        m_clearer->setMaxThreadCount(1);
    }
    QObject* context = receiver();
    m_clearer->start([this, app, context, done = std::move(done)]() mutable {
        const bool cleared = clearFiles(app);
        if (done)
            QMetaObject::invokeMethod(
                context, [done = std::move(done), cleared] { done(cleared); },
                Qt::QueuedConnection);
    });
}

void VorlaneController::removeDocumentInBackground(
    const RecentApp& app, const RecentFile& file,
    std::function<void(bool removed, const QString& error)> done)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || QThread::currentThread() != application->thread()) {
        QString error;
        const bool removed = removeDocument(app, file, &error);
        if (done)
            done(removed, error);
        return;
    }
    if (!m_clearer) {
        m_clearer = std::make_unique<QThreadPool>();
        m_clearer->setMaxThreadCount(1);
    }
    QObject* context = receiver();
    m_clearer->start([this, app, file, context, done = std::move(done)]() mutable {
        QString error;
        const bool removed = removeDocument(app, file, &error);
        if (done)
            QMetaObject::invokeMethod(
                context, [done = std::move(done), removed, error] { done(removed, error); },
                Qt::QueuedConnection);
    });
}
