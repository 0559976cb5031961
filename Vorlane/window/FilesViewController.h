#pragma once

#include <QWidget>

#include <memory>

class FilesGridViewController;
class FilesTableViewController;
class QAbstractItemView;

namespace Ui {
class FilesViewController;
}

// The right-hand side of the window: the selected application's files, as a list or as a
// grid. It holds at most one of the two at a time, filling the whole side, and carries the
// selected file across a switch.
class FilesViewController : public QWidget
{
    Q_OBJECT

public:
    explicit FilesViewController(QWidget* parent = nullptr);
    ~FilesViewController() override;

    // Switch the side to the list or the grid and store the choice under "FilesViewType".
    // The selected file stays selected; without one the focus goes to the applications.
    void showListView();
    void showGridView();

    FilesTableViewController* filesTableViewController() const
    {
        return m_filesTableViewController;
    }
    FilesGridViewController* filesGridViewController() const { return m_filesGridViewController; }
    // The list or the grid, whichever is shown; null while the other (or neither) is.
    QAbstractItemView* listView() const { return m_listView; }
    QAbstractItemView* gridView() const { return m_gridView; }
    // Puts another list or grid in place of the current one; null removes it.
    void setListView(QAbstractItemView* view);
    void setGridView(QAbstractItemView* view, qsizetype prevSelectionIndex = -1);
    // The grid's selection remembered from before the focus left it; -1 when none.
    qsizetype prevSelectionIndex() const;

    void reloadFilesTable();
    void reloadFilesGrid();
    // The selected file shows its folder path while Command is held, its name otherwise.
    void refreshForCommandKey();
    // Whether the preview of a file is open over the window.
    bool isPreviewPanelOpen() const;

private:
    void viewDidLoad();
    void replaceChild(QWidget* child);
    void focusApplications();

    std::unique_ptr<Ui::FilesViewController> ui;
    QWidget* m_child = nullptr;
    FilesTableViewController* m_filesTableViewController = nullptr;
    FilesGridViewController* m_filesGridViewController = nullptr;
    QAbstractItemView* m_listView = nullptr;
    QAbstractItemView* m_gridView = nullptr;
    qsizetype m_prevSelectionIndex = -1;
};
