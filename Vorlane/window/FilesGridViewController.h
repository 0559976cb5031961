#pragma once

#include <QWidget>

#include <memory>

class GridCollectionView;
class PaddedScrollView;
class QItemSelection;
class RecentFilesModel;

namespace Ui {
class FilesGridViewController;
}

// The files as a grid of thumbnails: the selected application's documents, newest first, each
// with its picture, name and relative date. Remembers the last selected item for the window's
// Tab, shows the selected item's location while Command (Ctrl) is held, and keeps the selected
// document selected when the store refreshes the same application.
class FilesGridViewController : public QWidget
{
    Q_OBJECT

public:
    // Room below the last row for the toolbar.
    static constexpr int bottomInset = 32;

    explicit FilesGridViewController(QWidget* parent = nullptr);
    ~FilesGridViewController() override;

    GridCollectionView* collectionView() const;
    PaddedScrollView* scrollView() const;
    RecentFilesModel* model() const { return m_model; }

    // True while the preview shows the grid's selection.
    bool isPreviewPanelOpen() const;
    void setPreviewPanelOpen(bool open);

    // Shows the applications list's selection again.
    void reloadData();
    // The item's location ("Show in Finder", the file manager's icon, the path as tool tip), or
    // its name and picture again.
    void showGridItemPath(int item);
    void showGridItemName(int item);

protected:
    bool event(QEvent* event) override;

private:
    void viewDidLoad();
    void selectionDidChange(const QItemSelection& selected, const QItemSelection& deselected);
    void updatePictureSizes();

    std::unique_ptr<Ui::FilesGridViewController> ui;
    RecentFilesModel* m_model;
};
