#pragma once

#include "FilesCollectionViewController.h"

#include <memory>

class GridCollectionView;
class PaddedScrollView;
class QItemSelection;

namespace Ui {
class FilesGridViewController;
}

// The files as a grid of thumbnails: the selected application's documents, newest first, each
// with its picture, name and relative date. Remembers the last selected item for the window's
// Tab and shows the selected item's location while Command (Ctrl) is held. The four arrows in
// the preview act on the grid. The rest it does as the list's controller does
// (FilesCollectionViewController).
class FilesGridViewController : public FilesCollectionViewController
{
    Q_OBJECT

public:
    // Room below the last row for the toolbar.
    static constexpr int bottomInset = 32;

    explicit FilesGridViewController(QWidget* parent = nullptr);
    ~FilesGridViewController() override;

    GridCollectionView* collectionView() const;
    PaddedScrollView* scrollView() const;

    // The item's location ("Show in File Manager", the file manager's icon, the path as tool tip),
    // or its name and picture again.
    void showGridItemPath(int item);
    void showGridItemName(int item);

protected:
    bool movesThroughView(int key) const override;
    QString previewEventName() const override;
    QRect pictureRect(const QModelIndex& index) const override;
    void updatePictureSizes() override;
    // The items are laid out later; the place is restored once they are.
    void layOutBeforeRestoringPlace() override;

private:
    void viewDidLoad();
    void selectionDidChange(const QItemSelection& selected, const QItemSelection& deselected);

    std::unique_ptr<Ui::FilesGridViewController> ui;
};
