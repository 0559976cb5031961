#pragma once

#include "RecentApp.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QThreadPool>

#include <functional>
#include <future>
#include <memory>
#include <optional>

class RecentSources;

// The store: the one list of applications and documents every view reads, rebuilt from all the
// sources. Never empty: when nothing was found it holds a placeholder entry for Vorlane itself and
// isEmpty() is true. Used on the main thread only.
class VorlaneController
{
public:
    // What the window registers so a refresh reaches every view; any of them may be missing.
    struct ViewHooks
    {
        std::function<void()> showContentOrEmptyState;
        std::function<void()> reloadApplications;
        std::function<void()> reloadFilesTable;
        std::function<void()> reloadFilesGrid;
        std::function<void()> reloadApplicationsScrubber;
        std::function<void()> reloadFilesScrubber;
    };

    enum class FirstBuild
    {
        atOnce,
        // On the worker thread, while the program goes on starting: until the list is taken in
        // the store holds the placeholder and isEmpty() is true, and isRefreshing() is true.
        inBackground,
    };

    // Builds the list at once.
    VorlaneController();
    // Called on the main thread; inBackground needs a running application.
    explicit VorlaneController(FirstBuild firstBuild);
    // Waits for a refresh still being built and for the clears asked for.
    ~VorlaneController();
    VorlaneController(const VorlaneController&) = delete;
    VorlaneController& operator=(const VorlaneController&) = delete;

    // The process-wide store, created and built on first use.
    static VorlaneController& shared();
    // Creates the process-wide store now, its first list built in the background (see
    // waitForFirstList). Called on the main thread before anything uses the store.
    static void buildSharedInBackground();
    // A store whose first list is built in the background takes it in now, views reloaded as at
    // any refresh, waiting for the worker if it has not finished: before a window shows the list
    // for the first time. Nothing otherwise, and never a wait for a later refresh.
    void waitForFirstList();

    const QList<RecentApp>& recentApps() const { return m_recentApps; }
    bool isEmpty() const { return m_isEmpty; }
    // The entry with this identity (its name); null when the list has none. Valid until the
    // next rebuild.
    const RecentApp* appNamed(const QString& name) const;

    void rebuild();
    // Rebuilds, switches the window between its lists and its empty state when emptiness changed
    // (or on the first refresh), then reloads every registered view. Called on the main thread of
    // a running application, the sources are read on a worker thread so the window never waits
    // for the disk; the list is swapped and the views reloaded back on the main thread. A refresh
    // asked for while one is being built runs once more after it, however often it was asked.
    // Without an application (tools, tests) the refresh happens at once.
    void refreshFromStore();
    // True while a refresh is being built on the worker thread.
    bool isRefreshing() const { return m_building; }
    // Looks, on the worker thread, whether every listed document still exists and whether one
    // that left the list because it was gone is back (a stat each, nothing read), and refreshes
    // when either changed: documents are deleted and put back without any record changing. Called
    // when the window is shown, so that what it shows exists. Without an application it looks at
    // once. Asked while a look or a refresh is under way, it looks once more after it.
    void revalidateInBackground();
    // True from revalidateInBackground until its look is done (and any refresh it asked for
    // started).
    bool isRevalidating() const { return m_revalidating; }
    // Documents that left the list because they no longer existed, looked for again by
    // revalidateInBackground.
    const QStringList& vanishedDocuments() const { return m_vanished; }
    void setViewHooks(ViewHooks hooks) { m_hooks = std::move(hooks); }
    std::optional<bool> lastEmptyState() const { return m_lastEmptyState; }

    // Removes the record file at path (never a folder; a symbolic link is removed as a link).
    // Removing a file no source watches posts "background update", as no monitor reports it. A
    // file several applications share (the desktop's recently-used file, Adobe's list) is never
    // removed: see clearFiles.
    bool deleteRecordFile(const QString& path);
    // Clears an application's documents as the source it came from clears them: removes its
    // registrations from a shared file, or deletes the whole record file it was read from.
    bool clearFiles(const RecentApp& app);
    // The other entries of listed that clearing app empties too: those read from the same file,
    // where clearing deletes that file. Empty where clearing takes out only app's own entries.
    static QList<RecentApp> alsoClearedBy(const RecentApp& app, const QList<RecentApp>& listed);
    // clearFiles on a worker thread, one clear at a time in the order asked, so that the window
    // never waits for the shared file's lock or its parsing. done (when given) is called on the
    // main thread with the result; the views change when the store refreshes after the clear.
    // Without an application the clear happens at once.
    void clearFilesInBackground(const RecentApp& app, std::function<void(bool cleared)> done = {});

    // Why clearing the entry would change nothing: every part of it is kept by a program that
    // owns its store. Empty when it can be cleared.
    QString notClearedBecause(const RecentApp& app) const;
    // Why one document cannot be taken out of the entry's history; empty when it can (an entry
    // that other sources' entries were merged into cannot: the document would stay in them).
    QString notRemovableBecause(const RecentApp& app) const;
    // Takes one document out of the entry's history, leaving everything else as it was; false,
    // with *error set, when nothing was changed.
    bool removeDocument(const RecentApp& app, const RecentFile& file, QString* error = nullptr);
    // removeDocument on the clears' worker thread, in turn with them; done (when given) is called
    // on the main thread. Without an application it happens at once.
    void removeDocumentInBackground(const RecentApp& app, const RecentFile& file,
                                    std::function<void(bool removed, const QString& error)> done);

    // Where Vorlane's own application bundle is (the placeholder's application).
    static QString ownBundlePath();

private:
    RecentApp placeholder() const;
    bool clearPart(const RecentSources& sources, const RecentApp& app);
    void apply(std::optional<QList<RecentApp>> apps, QStringList vanished);
    QThreadPool& builder();
    struct Built
    {
        std::optional<QList<RecentApp>> apps;
        QStringList vanished;
    };
    void reloadViews();
    void startBuildingInBackground();
    // Swaps in the list the worker built as the build numbered build, unless it was taken
    // already; waits for the worker when it is still building.
    void takeBuilt(quint64 build);
    // Receives the workers' results on the main thread.
    QObject* receiver();

    QList<RecentApp> m_recentApps;
    bool m_isEmpty = true;
    std::optional<bool> m_lastEmptyState;
    ViewHooks m_hooks;
    bool m_building = false;
    // The list being built, its number, and whether it is the first list of a store that built
    // it in the background.
    std::future<Built> m_built;
    quint64 m_buildNumber = 0;
    bool m_awaitingFirstList = false;
    bool m_backWorkerHeap = false;
    bool m_refreshAgain = false;
    bool m_revalidating = false;
    bool m_revalidateAgain = false;
    QStringList m_vanished;
    // Each runs one task at a time; results come back through m_receiver on the main thread.
    std::unique_ptr<QThreadPool> m_builder;
    std::unique_ptr<QThreadPool> m_clearer;
    std::unique_ptr<QObject> m_receiver;
};
