#pragma once

#include <QWidget>

#include <memory>

class QAbstractItemView;

namespace Ui {
class FilesViewController;
}

// The right-hand side of the window: the selected application's files, as a list or as a
// grid. It holds at most one of the two at a time, filling the whole side.
class FilesViewController : public QWidget
{
    Q_OBJECT

public:
    explicit FilesViewController(QWidget* parent = nullptr);
    ~FilesViewController() override;

    // Switch the side to the list or the grid and store the choice under "FilesViewType".
    void showListView();
    void showGridView();

    // The list or the grid, whichever is shown; null while the other (or neither) is.
    QAbstractItemView* listView() const { return m_listView; }
    QAbstractItemView* gridView() const { return m_gridView; }
    // Puts a list or grid in place of the current one; null removes it.
    void setListView(QAbstractItemView* view);
    void setGridView(QAbstractItemView* view, qsizetype prevSelectionIndex = -1);
    // The grid's selection remembered from before the focus left it; -1 when none.
    qsizetype prevSelectionIndex() const { return m_prevSelectionIndex; }

    void reloadFilesTable();
    void reloadFilesGrid();
    // The selected file shows its folder path while Command is held, its name otherwise.
    void refreshForCommandKey();
    // Whether the preview of a file is open over the window.
    bool isPreviewPanelOpen() const { return false; }

private:
    void viewDidLoad();
    void replaceChild(QAbstractItemView* view);

    std::unique_ptr<Ui::FilesViewController> ui;
    QAbstractItemView* m_listView = nullptr;
    QAbstractItemView* m_gridView = nullptr;
    qsizetype m_prevSelectionIndex = -1;
};
