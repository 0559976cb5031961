#pragma once

#include "PreviewPanelController.h"
#include "PreviewPanelDataSource.h"
#include "PreviewPanelDelegate.h"

#include <QWidget>

#include <memory>

class FilesTable;
class PaddedScrollView;
class RecentFilesModel;

namespace Ui {
class FilesTableViewController;
}

// The files as a list: the selected application's documents under their date headings. Keeps
// selectedFileIndex on the selected row, shows the selected row's location while Command (Ctrl)
// is held, and keeps the selected document selected when the store refreshes the same
// application. While the preview window shows the list's selection, the list controls it: it
// names the document, and Left, Up, Down and Space in the preview act on the list.
class FilesTableViewController : public QWidget,
                                 public PreviewPanelController,
                                 public PreviewPanelDataSource,
                                 public PreviewPanelDelegate
{
    Q_OBJECT

public:
    // Room above the first heading, and below the last row for the toolbar.
    static constexpr int topInset = 8;
    static constexpr int bottomInset = 32;

    explicit FilesTableViewController(QWidget* parent = nullptr);
    ~FilesTableViewController() override;

    FilesTable* filesTable() const;
    PaddedScrollView* filesScrollView() const;
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

    // True while the preview shows this list's selection.
    bool isPreviewPanelOpen() const;
    void setPreviewPanelOpen(bool open);

    // Shows the applications list's selection again.
    void reloadData();
    // The row's location while Command is held, else its name; nothing for a heading.
    void refreshSelectedRow(int row);
    void showFileName(int row);
    void showFilePath(int row);

protected:
    bool event(QEvent* event) override;

private:
    void viewDidLoad();
    void tableViewSelectionDidChange();
    void updatePictureSizes();

    std::unique_ptr<Ui::FilesTableViewController> ui;
    RecentFilesModel* m_model;
};
