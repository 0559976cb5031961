#pragma once

#include "AppearanceService.h"
#include "ApplicationLauncher.h"
#include "FileActions.h"
#include "FileManagerService.h"
#include "LoginItemService.h"
#include "PrivacySettings.h"
#include "TestHome.h"

#include <QColor>
#include <QDateTime>
#include <QList>
#include <QStringList>
#include <QUrl>

#include <memory>

// An appearance the test sets: "Dark" or nothing, announced like the desktop's change.
class StandInAppearance : public AppearanceService
{
public:
    QString interfaceStyle() const override { return m_style; }
    void setStyle(const QString& style)
    {
        m_style = style;
        announceChange();
    }

private:
    QString m_style;
};

// Remembers what it was asked to start instead of starting it.
class RecordingLauncher : public ApplicationLauncher
{
public:
    bool launch(const QString& entryPath, const QList<QUrl>& documents, QString*) override
    {
        launched.append(entryPath);
        Q_UNUSED(documents);
        return true;
    }
    QStringList launched;
};

// Remembers the documents it was asked to show instead of showing them.
class RecordingFileManager : public FileManagerService
{
public:
    void selectFile(const QString& path) override { selected.append(path); }
    QStringList selected;
};

// Remembers what the views asked of the file actions instead of doing it.
class RecordingFileActions : public FileActions
{
public:
    struct Opened
    {
        QString appName;
        qsizetype index = -1;
        QString viewType;
        bool reveal = false;
    };
    void openRecentFile(const RecentApp& app, qsizetype index, const QString& viewType,
                        bool reveal) override
    {
        opened.append({app.appName(), index, viewType, reveal});
    }
    void showQuickLook(QAbstractItemView* view) override { previewed.append(view); }
    void closeQuickLook() override { ++closed; }
    void reloadQuickLook() override { ++reloads; }
    void forget()
    {
        opened.clear();
        previewed.clear();
        closed = 0;
        reloads = 0;
    }

    QList<Opened> opened;
    QList<QAbstractItemView*> previewed;
    int closed = 0;
    int reloads = 0;
};

class RecordingLoginItems : public LoginItemService
{
public:
    bool setEnabled(const QString& identifier, bool enabled) override
    {
        calls.append(identifier + (enabled ? QStringLiteral(" on") : QStringLiteral(" off")));
        return true;
    }
    QStringList calls;
};

class RecordingPrivacySettings : public PrivacySettings
{
public:
    bool isAvailable() const override { return true; }
    bool open() override
    {
        ++opened;
        return true;
    }
    int opened = 0;
};

// A temporary home with Vorlane's settings, records, documents and applications in it, and the
// desktop services replaced by the recorders above. One per test program: the store is
// process-wide.
class WindowTestHome
{
public:
    WindowTestHome();
    ~WindowTestHome();

    TestHome& home() { return m_home; }
    StandInAppearance& appearance() { return *m_appearance; }
    RecordingLauncher& launcher() { return *m_launcher; }
    RecordingFileManager& fileManager() { return *m_fileManager; }
    RecordingLoginItems& loginItems() { return *m_loginItems; }
    RecordingPrivacySettings& privacySettings() { return *m_privacy; }

    // An installed application (id.desktop named name) with documents used minutesAgo before
    // now: the larger, the further down the list. Returns the record file.
    QString addApplication(const QString& id, const QString& name, int minutesAgo,
                           int documents = 2);
    void removeApplication(const QString& id);
    // An installed application whose one document is registered only in the desktop's shared
    // recently-used file (which this replaces). Returns the entry's identity in the store.
    QString addSharedRecordApplication(const QString& id, const QString& name, int minutesAgo);
    // Forgets every record and setting.
    void clear();
    // Settings written by the window, read back from the file.
    static QString setting(const QString& key);

private:
    TestHome m_home;
    StandInAppearance* m_appearance;
    RecordingLauncher* m_launcher;
    RecordingFileManager* m_fileManager;
    RecordingLoginItems* m_loginItems;
    RecordingPrivacySettings* m_privacy;
};

// The contrast ratio of two colours, as accessibility guidelines define it (1 to 21).
double contrastRatio(QRgb a, QRgb b);

// Rebuilds the store and waits until the window has been reloaded.
bool refreshStoreAndWait();

class ClearConfirmation;
// The clear confirmation shown now; waits up to waitMs for one to show. Null when none did.
ClearConfirmation* shownClearConfirmation(int waitMs = 10000);
// Answers the clear confirmation shown now: Clear when clear, else Cancel. False when none shows.
bool answerClearConfirmation(bool clear);

class MainWindowController;
// Replaces controller with a new one, made the shared one, and shows its window at 780 × 440
// with the focus. False when the window never became active.
bool showFocusedMainWindow(std::unique_ptr<MainWindowController>& controller);

// Runs a QtTest class with an application and one WindowTestHome for the whole program.
#define WINDOW_TEST_MAIN(TestClass)                                                                \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        QApplication application(argc, argv);                                                      \
        WindowTestHome home;                                                                       \
        TestClass test(home);                                                                      \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
