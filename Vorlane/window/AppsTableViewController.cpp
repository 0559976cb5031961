#include "AppsTableViewController.h"

#include "ApplicationLauncher.h"
#include "AppsListModel.h"
#include "AppsTableCell.h"
#include "AppsTableView.h"
#include "FilesViewController.h"
#include "ItemViewSelection.h"
#include "PaddedScrollView.h"
#include "Selection.h"
#include "SharedReferences.h"
#include "ui_AppsTableView.h"

#include <QItemSelectionModel>

AppsTableViewController::AppsTableViewController(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::AppsTableViewController>())
    , m_model(new AppsListModel(this))
{
    ui->setupUi(this);
    viewDidLoad();
}

AppsTableViewController::~AppsTableViewController() = default;

AppsTableView* AppsTableViewController::table() const
{
    return ui->appsTable;
}

PaddedScrollView* AppsTableViewController::scrollView() const
{
    return ui->appsScrollView;
}

void AppsTableViewController::viewDidLoad()
{
    AppsTableView* table = ui->appsTable;
    table->setModel(m_model);
    table->setItemDelegate(new AppsTableCell(table));
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &AppsTableViewController::tableViewSelectionDidChange);
    connect(table, &AppsTableView::applicationDoubleClicked, this,
            &AppsTableViewController::launchSelectedApplication);
    updateTopInset();
    reloadTable();
}

int AppsTableViewController::selectedRow() const
{
    return selectedRowOf(ui->appsTable);
}

void AppsTableViewController::selectRow(int row)
{
    selectOnlyRow(ui->appsTable, row);
}

void AppsTableViewController::reloadTable()
{
    const int previousRow = selectedRow();
    m_model->reload();
    const int rows = m_model->rowCount();
    if (rows > 0) {
        int row = m_model->rowOf(m_selectedIdentity);
        if (row < 0)
            row = previousRow >= 0 && previousRow < rows ? previousRow : 0;
        // The store reloads the files itself after this; the selection is only put back.
        m_restoringSelection = true;
        selectRow(row);
        m_restoringSelection = false;
    }
    updateSelectedApp();
    rememberSelection();
}

void AppsTableViewController::rememberSelection()
{
    m_selectedIdentity = selectedApp.isEmpty() ? QString() : selectedApp.constFirst().name();
}

void AppsTableViewController::tableViewSelectionDidChange()
{
    if (m_restoringSelection || m_model->rowCount() == 0)
        return;
    if (selectedAppIndex < 0 || selectedAppIndex >= m_model->rowCount()) {
        // The list shrank under a later selection: back to the first application.
        selectedAppIndex = 0;
        reloadTable();
    } else {
        updateSelectedApp();
        rememberSelection();
    }
    if (sharedFilesViewController) {
        sharedFilesViewController->reloadFilesTable();
        sharedFilesViewController->reloadFilesGrid();
    }
    Q_EMIT selectionChanged();
}

void AppsTableViewController::launchSelectedApplication()
{
    if (!selectedApp.isEmpty())
        ApplicationLauncher::shared().launch(selectedApp.constFirst().sourceApp());
}

int AppsTableViewController::topInset() const
{
    return 0;
}

void AppsTableViewController::updateTopInset()
{
    ui->appsLayout->setContentsMargins(0, topInset(), 0, 0);
}
