#pragma once

#include "RecentApp.h"

#include <QList>

#include <functional>
#include <optional>

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

    // Builds the list at once.
    VorlaneController();

    // The process-wide store, created and built on first use.
    static VorlaneController& shared();

    const QList<RecentApp>& recentApps() const { return m_recentApps; }
    bool isEmpty() const { return m_isEmpty; }

    void rebuild();
    // Rebuilds, switches the window between its lists and its empty state when emptiness changed
    // (or on the first refresh), then reloads every registered view.
    void refreshFromStore();
    void setViewHooks(ViewHooks hooks) { m_hooks = std::move(hooks); }
    std::optional<bool> lastEmptyState() const { return m_lastEmptyState; }

    // Removes the record file at path (never a folder; a symbolic link is removed as a link).
    // Removing a ".plist" file posts "background update", as no monitor watches those. The
    // desktop's shared recently-used file is never removed: see clearFiles.
    bool deleteRecordFile(const QString& path);
    // Clears an application's documents: its entry in the shared recently-used file, or the
    // whole record file it was read from.
    bool clearFiles(const RecentApp& app);

    // Where Vorlane's own application bundle is (the placeholder's application).
    static QString ownBundlePath();

private:
    RecentApp placeholder() const;

    QList<RecentApp> m_recentApps;
    bool m_isEmpty = true;
    std::optional<bool> m_lastEmptyState;
    ViewHooks m_hooks;
};
