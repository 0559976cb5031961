#pragma once

#include <QWidget>

#include <memory>

class AppsListModel;
class AppsTableView;
class PaddedScrollView;
class QItemSelection;

namespace Ui {
class AppsTableViewController;
}

// The left pane: the applications that have recent documents, newest first. Selecting one shows
// its files on the right; the selection follows its application across store refreshes.
class AppsTableViewController : public QWidget
{
    Q_OBJECT

public:
    static constexpr int rowHeight = 72;

    explicit AppsTableViewController(QWidget* parent = nullptr);
    ~AppsTableViewController() override;

    AppsTableView* table() const;
    PaddedScrollView* scrollView() const;
    AppsListModel* model() const { return m_model; }
    // The selected row; -1 when none.
    int selectedRow() const;
    void selectRow(int row);

    // Reads the store again, keeping the selected application selected (found by its identity;
    // when it is gone, the same row if the list still has it, else the first).
    void reloadTable();
    // The gap above the first icon: only a window that draws its content under its own title
    // area needs one, and neither of Vorlane's window modes does.
    int topInset() const;
    void updateTopInset();

Q_SIGNALS:
    // The user chose another application.
    void selectionChanged();

private:
    void viewDidLoad();
    void tableViewSelectionDidChange();
    void launchSelectedApplication();
    void rememberSelection();

    std::unique_ptr<Ui::AppsTableViewController> ui;
    AppsListModel* m_model;
    QString m_selectedIdentity;
    bool m_restoringSelection = false;
};
