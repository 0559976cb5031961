#pragma once

#include "FilesCollectionViewController.h"

#include <memory>

class FilesTable;
class PaddedScrollView;

namespace Ui {
class FilesTableViewController;
}

// The files as a list: the selected application's documents under their date headings. Keeps
// selectedFileIndex on the selected row and shows the selected row's location while Command
// (Ctrl) is held. Left, Up and Down in the preview act on the list. The rest it does as the
// grid's controller does (FilesCollectionViewController).
class FilesTableViewController : public FilesCollectionViewController
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

    // The row's location while Command is held, else its name; nothing for a heading.
    void refreshSelectedRow(int row);
    void showFileName(int row);
    void showFilePath(int row);

protected:
    bool movesThroughView(int key) const override;
    QString previewEventName() const override;
    QRect pictureRect(const QModelIndex& index) const override;
    void updatePictureSizes() override;

private:
    void viewDidLoad();
    void tableViewSelectionDidChange();

    std::unique_ptr<Ui::FilesTableViewController> ui;
};
