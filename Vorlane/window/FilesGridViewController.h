#pragma once

#include "PreviewPanelController.h"
#include "PreviewPanelDataSource.h"
#include "PreviewPanelDelegate.h"

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
// document selected when the store refreshes the same application. While the preview window
// shows the grid's selection, the grid controls it: it names the document, and the four arrows
// and Space in the preview act on the grid.
class FilesGridViewController : public QWidget,
                                public PreviewPanelController,
                                public PreviewPanelDataSource,
                                public PreviewPanelDelegate
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

    // The preview window, while this view's controller controls it.
    bool acceptsPreviewPanelControl(PreviewPanel* panel) override;
    void beginPreviewPanelControl(PreviewPanel* panel) override;
    void endPreviewPanelControl(PreviewPanel* panel) override;
    int numberOfPreviewItems(PreviewPanel* panel) override;
    QUrl previewItemAt(PreviewPanel* panel, int index) override;
    bool handleEvent(PreviewPanel* panel, QEvent* event) override;
    QRect sourceFrameOnScreen(PreviewPanel* panel, const QUrl& item) override;
    QPixmap transitionImage(PreviewPanel* panel, const QUrl& item) override;

    // True while the preview shows the grid's selection.
    bool isPreviewPanelOpen() const;
    void setPreviewPanelOpen(bool open);

    // Shows the applications list's selection again.
    void reloadData();
    // The item's location ("Show in File Manager", the file manager's icon, the path as tool tip),
    // or its name and picture again.
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
