#include "FilesViewController.h"

#include "Selection.h"
#include "UserDefaults.h"
#include "ui_FilesViewController.h"

#include <QAbstractItemView>

namespace {
const QString filesViewTypeKey = QStringLiteral("FilesViewType");
} // namespace

FilesViewController::FilesViewController(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::FilesViewController>())
{
    ui->setupUi(this);
    viewDidLoad();
}

FilesViewController::~FilesViewController() = default;

void FilesViewController::viewDidLoad()
{
    const QString type = UserDefaults::standard().objectIsPresent(filesViewTypeKey)
                             ? UserDefaults::standard().stringForKey(filesViewTypeKey)
                             : QStringLiteral("grid");
    if (type == u"grid")
        showGridView();
    else
        showListView();
}

void FilesViewController::showListView()
{
    UserDefaults::standard().setObject(filesViewTypeKey, QStringLiteral("list"));
}

void FilesViewController::showGridView()
{
    UserDefaults::standard().setObject(filesViewTypeKey, QStringLiteral("grid"));
}

void FilesViewController::setListView(QAbstractItemView* view)
{
    replaceChild(view);
    m_listView = view;
}

void FilesViewController::setGridView(QAbstractItemView* view, qsizetype prevSelectionIndex)
{
    replaceChild(view);
    m_gridView = view;
    m_prevSelectionIndex = prevSelectionIndex;
}

void FilesViewController::replaceChild(QAbstractItemView* view)
{
    delete m_listView;
    delete m_gridView;
    m_listView = nullptr;
    m_gridView = nullptr;
    m_prevSelectionIndex = -1;
    if (!view)
        return;
    ui->filesLayout->addWidget(view);
    view->show();
}

void FilesViewController::reloadFilesTable()
{
    // Every reload of the files reads the applications list's selection again.
    if (m_listView)
        updateSelectedApp();
}

void FilesViewController::reloadFilesGrid()
{
    if (m_gridView)
        updateSelectedApp();
}

void FilesViewController::refreshForCommandKey()
{
    // Only the selected row or item changes; a list or grid does it for itself when shown.
    if (m_listView)
        m_listView->viewport()->update();
    if (m_gridView)
        m_gridView->viewport()->update();
}
