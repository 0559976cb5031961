#pragma once

#include "PreviewPanelController.h"
#include "PreviewPanelDataSource.h"
#include "PreviewPanelDelegate.h"
#include "RecentFilesModel.h"

#include <QWidget>

class FilesCollectionView;

// What the files list's and the files grid's controllers do alike: they show the selected
// application's documents in their view, keep the document the user is on (and the place) when
// the store refreshes the same application, ask pictures at the size and density the view shows
// them, and, while the preview window shows the view's selection, control it: it names the
// selected document, opens from its picture, and the view's moving keys and Space in the preview
// act on the view. Each keeps what differs: its view from its .ui file, the keys, the pictures.
class FilesCollectionViewController : public QWidget,
                                      public PreviewPanelController,
                                      public PreviewPanelDataSource,
                                      public PreviewPanelDelegate
{
    Q_OBJECT

public:
    ~FilesCollectionViewController() override;

    RecentFilesModel* model() const { return m_model; }

    bool acceptsPreviewPanelControl(PreviewPanel* panel) override;
    void beginPreviewPanelControl(PreviewPanel* panel) override;
    void endPreviewPanelControl(PreviewPanel* panel) override;
    int numberOfPreviewItems(PreviewPanel* panel) override;
    QUrl previewItemAt(PreviewPanel* panel, int index) override;
    bool handleEvent(PreviewPanel* panel, QEvent* event) override;
    QRect sourceFrameOnScreen(PreviewPanel* panel, const QUrl& item) override;
    QPixmap transitionImage(PreviewPanel* panel, const QUrl& item) override;

    // True while the preview shows this view's selection.
    bool isPreviewPanelOpen() const;
    void setPreviewPanelOpen(bool open);

    // Shows the applications list's selection again.
    void reloadData();

protected:
    FilesCollectionViewController(RecentFilesModel::Layout layout, QWidget* parent);

    // Puts the model in the view (from the subclass's .ui file) and keeps the room given clear.
    void setFilesView(FilesCollectionView* view, int topInset, int bottomInset);
    // Besides Space, the keys that move through the view while the preview is in front.
    virtual bool movesThroughView(int key) const = 0;
    // The usage event of opening the preview from this view.
    virtual QString previewEventName() const = 0;
    // Where the document's picture is drawn in the view's row or item.
    virtual QRect pictureRect(const QModelIndex& index) const = 0;
    // Tells the model the size pictures are asked and shown at, for the window's density.
    virtual void updatePictureSizes() = 0;
    // Lays the rows out at once where the view would only later, so the place can be restored.
    virtual void layOutBeforeRestoringPlace() {}

    bool event(QEvent* event) override;

private:
    RecentFilesModel* m_model;
    FilesCollectionView* m_view = nullptr;
};
