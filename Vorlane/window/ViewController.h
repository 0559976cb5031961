#pragma once

#include "NotificationCenter.h"

#include <QList>
#include <QWidget>

#include <atomic>
#include <memory>

class AppsTableViewController;
class DocumentSearchController;
class EmptyStateViewController;
class FilesViewController;
class QKeyEvent;
class QSplitter;
class SelectedAppTitle;

namespace Ui {
class ViewController;
}

// The window's content: the applications list on the left, the files side, the toolbar and the
// empty state on the right. It decides which of them show, carries the keyboard between the two
// sides, tracks the Command (Ctrl) key, applies the light or dark theme and listens for the
// program's notifications.
class ViewController : public QWidget
{
    Q_OBJECT

public:
    explicit ViewController(QWidget* parent = nullptr);
    ~ViewController() override;

    // Re-reads the appearance choice and applies it.
    void toggleInterfaceTheme();
    // The toolbar's switch: segment 0 shows the files as a list, 1 as a grid.
    void toggleViewType(int segment);
    // Ctrl+1 and Ctrl+2: the list or the grid, with the switch following, when not already so.
    void selectViewType(int segment);
    // Shows the lists, or the empty state when the store has nothing to show.
    void showContentOrEmptyState();

    // The key rules of the window; true when the key was used.
    bool keyDown(QKeyEvent* event);
    // Command (Ctrl) changes: held while the window has the focus or not.
    void flagsChanged(int key, Qt::KeyboardModifiers modifiers, bool pressed);

    AppsTableViewController* appsViewController() const { return m_appsViewController; }
    FilesViewController* filesViewController() const { return m_filesViewController; }
    EmptyStateViewController* emptyStateViewController() const
    {
        return m_emptyStateViewController;
    }
    SelectedAppTitle* selectedAppTitle() const { return m_selectedAppTitle; }
    // Find by typing: the search typed in the window and its results.
    DocumentSearchController* documentSearch() const { return m_documentSearch; }
    QWidget* visualEffectsView() const;
    QWidget* leftPanel() const;
    QWidget* rightPanel() const;
    QSplitter* splitView() const;
    // Whether a store refresh is waiting to run on the main thread.
    bool isRefreshScheduled() const { return m_refreshScheduled; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void viewDidLoad();
    void registerObservers();
    void registerViewHooks();
    void addViewTypeShortcuts();
    void observe(const QString& name, NotificationCenter::Block block);
    void scheduleRefresh();
    void applyTheme(bool dark);
    void layoutContent();
    void reloadApplications();
    void layoutEmptyState();
    bool gridKeyDown(int key);
    bool listKeyDown(int key);
    bool tabMovesToFiles() const;
    void filesSelectionCleared();
    void openClickedFile(const Notification& notification);
    void commandKeyChanged();

    std::unique_ptr<Ui::ViewController> ui;
    AppsTableViewController* m_appsViewController;
    FilesViewController* m_filesViewController;
    EmptyStateViewController* m_emptyStateViewController;
    SelectedAppTitle* m_selectedAppTitle;
    DocumentSearchController* m_documentSearch = nullptr;
    // Whether the lists were shown in this run.
    bool m_documentsListed = false;
    QList<NotificationCenter::Token> m_observers;
    // Set by whichever thread asks first; one refresh answers a whole burst.
    std::atomic<bool> m_refreshScheduled = false;
};
