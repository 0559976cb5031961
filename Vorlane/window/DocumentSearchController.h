#pragma once

#include "DocumentSearch.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <QWidget>

#include <memory>

class DocumentSearchView;
class QKeyEvent;

// Find by typing. While the browsing window has the keyboard and no text field has the focus,
// letters, digits and punctuation typed there (keys the window's own rules do not use) start a
// search of the documents of every application; the results take the files side's place until
// the search is cleared.
//
// While searching: typed text and Backspace change the search; Up and Down move through the
// results; Return opens the selected document with the application that recorded it (Ctrl+Return,
// or Return with Ctrl held, shows it in the file manager); Escape clears the search, so only the
// next Escape hides the window. Space separates words while the user is typing; once the user
// has moved through the results (arrows or pointer), Space shows the selection in the preview as
// in the files list. Tab, Left and Right do nothing while searching. A result's context menu opens
// it, shows it in the file manager or previews it. The results follow the store
// as it changes.
class DocumentSearchController : public QObject
{
    Q_OBJECT

public:
    // content is the window's content; the results take the place of the replaced widgets (the
    // files side and its title) in their container, rightPanel.
    DocumentSearchController(QWidget* content, QWidget* rightPanel, QList<QWidget*> replaced);
    ~DocumentSearchController() override;

    bool isSearching() const { return !m_typedText.isEmpty(); }
    const QString& typedText() const { return m_typedText; }
    DocumentSearchView* view() const { return m_view; }

    // Searches for text as if it had been typed; an empty text clears the search.
    void setTypedText(const QString& text);
    // Ends the search and gives the files side (and the focus) back.
    void clear();
    // The store changed: the results follow, keeping the selected document where it still is.
    void storeChanged();
    // Opens the selected result, or shows it in the file manager.
    void openSelected(bool reveal);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keyPressed(const QKeyEvent* event);
    bool searchingKeyPressed(const QKeyEvent* event);
    bool takesTyping() const;
    void search(int rowToSelect);
    void showResults(bool shown);
    // Open, Show in File Manager and Preview for the result at position (in the list's
    // viewport), which it selects.
    void showContextMenu(const QPoint& position);
    void refreshIndex();
    // Cuts the store's words on a worker thread, so that the first key finds them ready.
    void prepareIndexInBackground();
    void cutWordsInBackground();

    QPointer<QWidget> m_content;
    QPointer<QWidget> m_rightPanel;
    QList<QPointer<QWidget>> m_replaced;
    DocumentSearchView* m_view;
    QString m_typedText;
    DocumentSearch m_index;
    bool m_indexCurrent = false;
    // Counts the store's changes: an index prepared for an older store is dropped.
    quint64 m_storeGeneration = 0;
    std::unique_ptr<QThreadPool> m_indexer;
    // True while the last key was typed text: Space then separates words instead of previewing.
    bool m_typing = false;
    QPointer<QWidget> m_focusBefore;
};
