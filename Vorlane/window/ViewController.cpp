#include "ViewController.h"

#include "Appearance.h"
#include "AppsTableView.h"
#include "AppsTableViewController.h"
#include "ButtonSegmentedControl.h"
#include "ButtonsViewController.h"
#include "DocumentSearchController.h"
#include "EmptyStateViewController.h"
#include "FileActions.h"
#include "FilesViewController.h"
#include "FilesViewType.h"
#include "ItemViewSelection.h"
#include "MainWindowController.h"
#include "MainWindowHelper.h"
#include "PinToEdges.h"
#include "SelectedAppTitle.h"
#include "Selection.h"
#include "SharedReferences.h"
#include "ThemePalette.h"
#include "TouchBarScrubbers.h"
#include "TouchStrip.h"
#include "UserDefaults.h"
#include "ViewControllerTouchBar.h"
#include "VorlaneController.h"
#include "ui_VorlaneWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QShortcut>
#include <QSplitter>
#include <QSplitterHandle>
#include <QThread>
#include <QWindow>

namespace {
bool isModifierKey(int key)
{
    return key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_CapsLock;
}
} // namespace

ViewController::ViewController(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::ViewController>())
    , m_appsViewController(new AppsTableViewController(this))
    , m_filesViewController(new FilesViewController(this))
    , m_emptyStateViewController(new EmptyStateViewController(this))
    , m_selectedAppTitle(new SelectedAppTitle(this))
{
    ui->setupUi(this);
    m_appsViewController->hide();
    m_filesViewController->hide();
    m_emptyStateViewController->hide();
    m_selectedAppTitle->hide();
    connect(m_appsViewController, &AppsTableViewController::selectionChanged, m_selectedAppTitle,
            &SelectedAppTitle::refresh);
    viewDidLoad();
}

ViewController::~ViewController()
{
    for (const NotificationCenter::Token token : std::as_const(m_observers))
        NotificationCenter::defaultCenter().removeObserver(token);
    VorlaneController::shared().setViewHooks({});
}

QWidget* ViewController::visualEffectsView() const
{
    return ui->visualEffectsView;
}

QWidget* ViewController::leftPanel() const
{
    return ui->leftPanel;
}

QWidget* ViewController::rightPanel() const
{
    return ui->rightPanel;
}

QSplitter* ViewController::splitView() const
{
    return ui->splitView;
}

void ViewController::viewDidLoad()
{
    sharedFilesViewController = m_filesViewController;
    sharedAppsViewController = m_appsViewController;
    m_documentSearch = new DocumentSearchController(this, ui->rightPanel,
                                                    {m_filesViewController, m_selectedAppTitle});
    // Choosing an application goes back to its documents.
    connect(m_appsViewController->table(), &QAbstractItemView::pressed, m_documentSearch,
            &DocumentSearchController::clear);
    showContentOrEmptyState();
    registerObservers();
    registerViewHooks();
    addViewTypeShortcuts();
    qApp->installEventFilter(this);
    // The touch strips along the bottom, only where they are wanted.
    auto* touchBar = new ViewControllerTouchBar(m_appsViewController, this);
    auto* touchStrip = new TouchStrip([touchBar] { return touchBar->makeTouchBar(); }, this);
    ui->rootLayout->addWidget(touchStrip);
    touchStrip->updateVisibility();
}

void ViewController::addViewTypeShortcuts()
{
    // The keys the switch's tool tips name.
    auto* list = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_1), this);
    connect(list, &QShortcut::activated, this, [this] { selectViewType(0); });
    auto* grid = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_2), this);
    connect(grid, &QShortcut::activated, this, [this] { selectViewType(1); });
}

void ViewController::selectViewType(int segment)
{
    const FilesViewType::Kind wanted =
        segment == 0 ? FilesViewType::Kind::list : FilesViewType::Kind::grid;
    if (FilesViewType::stored() == wanted)
        return;
    if (sharedButtonsViewController)
        sharedButtonsViewController->toggleViewTypeSC()->setSelectedSegment(segment);
    toggleViewType(segment);
}

void ViewController::observe(const QString& name, NotificationCenter::Block block)
{
    m_observers.append(NotificationCenter::defaultCenter().addObserver(name, {}, std::move(block)));
}

void ViewController::registerObservers()
{
    // Notifications arrive on the posting thread; everything here but the refresh request is
    // posted on the main thread.
    observe(NotificationName::interfaceThemeChanged, [this](const Notification&) {
        QMetaObject::invokeMethod(this, &ViewController::toggleInterfaceTheme,
                                  QThread::currentThread() == thread() ? Qt::DirectConnection
                                                                       : Qt::QueuedConnection);
    });
    toggleInterfaceTheme();
    observe(NotificationName::backgroundUpdate, [this](const Notification&) { scheduleRefresh(); });
    observe(NotificationName::resignActive,
            [this](const Notification&) { filesSelectionCleared(); });
    observe(NotificationName::clickedFileRow,
            [this](const Notification& notification) { openClickedFile(notification); });
    observe(NotificationName::toggleModifierKey,
            [this](const Notification&) { commandKeyChanged(); });
    observe(NotificationName::appearanceChanged,
            [this](const Notification&) { toggleInterfaceTheme(); });
}

void ViewController::registerViewHooks()
{
    const QPointer<ViewController> self(this);
    VorlaneController::shared().setViewHooks({
        .showContentOrEmptyState =
            [self] {
                if (self)
                    self->showContentOrEmptyState();
            },
        .reloadApplications =
            [self] {
                if (self)
                    self->reloadApplications();
            },
        .reloadFilesTable =
            [self] {
                if (self)
                    self->m_filesViewController->reloadFilesTable();
            },
        .reloadFilesGrid =
            [self] {
                if (self)
                    self->m_filesViewController->reloadFilesGrid();
            },
        .reloadApplicationsScrubber = reloadAppScrubber,
        .reloadFilesScrubber = reloadFileScrubber,
    });
}

void ViewController::scheduleRefresh()
{
    // A burst of record changes (an application rewriting several files) asks many times; one
    // refresh waiting on the main thread answers them all.
    if (m_refreshScheduled.exchange(true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_refreshScheduled = false;
            VorlaneController::shared().refreshFromStore();
        },
        Qt::QueuedConnection);
}

void ViewController::reloadApplications()
{
    m_appsViewController->reloadTable();
    m_selectedAppTitle->refresh();
    m_documentSearch->storeChanged();
}

void ViewController::toggleInterfaceTheme()
{
    applyTheme(currentAppearanceName() == AppearanceName::darkAqua);
    reloadApplications();
    m_filesViewController->reloadFilesTable();
    m_filesViewController->reloadFilesGrid();
}

void ViewController::applyTheme(bool dark)
{
    paletteDarkFlag = dark;
    rebuildPalette();
    const ThemePalette& palette = themePalette();
    // Every window of the program takes the look, menus and tool tips included.
    qApp->setPalette(palette.widgetPalette);
    QPalette background = palette.widgetPalette;
    background.setColor(QPalette::Window, palette.backgroundColor);
    ui->visualEffectsView->setPalette(background);
    QPalette sidebar = palette.widgetPalette;
    sidebar.setColor(QPalette::Window, palette.sidebarColor);
    ui->leftPanel->setPalette(sidebar);
    // The one-point line between the panes is the splitter's handle, painted in the
    // separator colour (a style sheet here would take the panes' palettes over).
    if (QSplitterHandle* handle = ui->splitView->handle(1)) {
        QPalette separator = palette.widgetPalette;
        separator.setColor(QPalette::Window, palette.separatorColor);
        handle->setPalette(separator);
        handle->setAutoFillBackground(true);
        handle->setEnabled(false);
    }
    window()->update();
    if (sharedButtonsViewController)
        sharedButtonsViewController->update();
}

void ViewController::toggleViewType(int segment)
{
    if (!sharedMainWindowController)
        return;
    if (segment == 0)
        m_filesViewController->showListView();
    else if (segment == 1)
        m_filesViewController->showGridView();
}

void ViewController::showContentOrEmptyState()
{
    if (VorlaneController::shared().isEmpty())
        layoutEmptyState();
    else
        layoutContent();
}

void ViewController::layoutEmptyState()
{
    m_emptyStateViewController->setParent(ui->rightPanel);
    // Documents were shown before: they are gone, history is not off.
    m_emptyStateViewController->setDocumentsWereListed(m_documentsListed);
    m_emptyStateViewController->centerInPanel(ui->rightPanel);
    m_emptyStateViewController->show();
    m_emptyStateViewController->raise();
    // The lists and the toolbar have nothing to act on while the store is empty.
    m_filesViewController->hide();
    m_selectedAppTitle->hide();
    delete sharedButtonsViewController.data();
    ui->leftPanel->hide();
}

void ViewController::layoutContent()
{
    m_documentsListed = true;
    ui->leftPanel->show();
    pinToEdges(m_appsViewController, ui->leftPanel, {0, 0, 0, 0});
    m_appsViewController->show();
    pinToEdges(m_filesViewController, ui->rightPanel, {0, 0, 0, 0});
    // Whose documents these are, above them.
    auto* rightLayout = qobject_cast<QBoxLayout*>(ui->rightPanel->layout());
    if (rightLayout && rightLayout->indexOf(m_selectedAppTitle) < 0) {
        m_selectedAppTitle->setParent(ui->rightPanel);
        rightLayout->insertWidget(0, m_selectedAppTitle);
    }
    m_selectedAppTitle->refresh();
    m_selectedAppTitle->show();
    m_filesViewController->show();
    m_emptyStateViewController->hide();
    // A fresh toolbar each time, above everything else in the pane.
    delete sharedButtonsViewController.data();
    auto* buttons = new ButtonsViewController(ui->rightPanel);
    sharedButtonsViewController = buttons;
    connect(buttons, &ButtonsViewController::viewTypeSelected, this,
            &ViewController::toggleViewType);
    buttons->show();
    buttons->raise();
    buttons->pinToBottomRight(ui->visualEffectsView);
}

void ViewController::keyPressEvent(QKeyEvent* event)
{
    if (!keyDown(event))
        QWidget::keyPressEvent(event);
}

bool ViewController::focusNextPrevChild(bool next)
{
    // Tab never reaches keyPressEvent: it asks the focus chain, which ends here.
    if (next) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        if (keyDown(&tab))
            return true;
    }
    return QWidget::focusNextPrevChild(next);
}

bool ViewController::keyDown(QKeyEvent* event)
{
    const int key = event->key();
    if (m_filesViewController->gridView())
        return gridKeyDown(key);
    if (m_filesViewController->listView())
        return listKeyDown(key);
    return false;
}

bool ViewController::tabMovesToFiles() const
{
    const QWidget* first = window()->focusWidget();
    const QAbstractItemView* appsTable = m_appsViewController->table();
    return (!first && !appsTable) || (appsTable && first == appsTable);
}

bool ViewController::gridKeyDown(int key)
{
    QAbstractItemView* grid = m_filesViewController->gridView();
    const bool hasFirstItem = grid->model() && grid->model()->rowCount() > 0;
    switch (key) {
    case Qt::Key_Tab:
        if (tabMovesToFiles()) {
            grid->setFocus(Qt::TabFocusReason);
            const qsizetype previous = m_filesViewController->prevSelectionIndex();
            selectOnlyRow(grid, previous >= 0 ? static_cast<int>(previous) : 0,
                          QAbstractItemView::PositionAtTop);
        }
        return true;
    case Qt::Key_Right:
        if (hasFirstItem) {
            grid->setFocus(Qt::OtherFocusReason);
            selectOnlyRow(grid, 0, QAbstractItemView::PositionAtTop);
        }
        return true;
    case Qt::Key_Left:
        return true;
    default:
        return false;
    }
}

bool ViewController::listKeyDown(int key)
{
    QAbstractItemView* table = m_filesViewController->listView();
    QAbstractItemView* appsTable = m_appsViewController->table();
    switch (key) {
    case Qt::Key_Tab:
        if (tabMovesToFiles()) {
            // Row 0 is a date heading: the first file is row 1.
            selectOnlyRow(table, selectedFileIndex == -1 ? 1 : static_cast<int>(selectedFileIndex));
            table->setFocus(Qt::TabFocusReason);
        } else if (window()->focusWidget() == table) {
            appsTable->setFocus(Qt::TabFocusReason);
            clearSelectionOf(table);
        }
        return true;
    case Qt::Key_Right:
        if (selectedRowOf(table) < 0) {
            table->setFocus(Qt::OtherFocusReason);
            selectOnlyRow(table, 1);
        }
        return true;
    case Qt::Key_Left:
        if (selectedRowOf(table) >= 0) {
            appsTable->setFocus(Qt::OtherFocusReason);
            clearSelectionOf(table);
            selectedFileIndex = -1;
        }
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (const qsizetype row = selectedRowOf(table); row > 0 && !selectedApp.isEmpty())
            openRecentFile(selectedApp.constFirst(), row, QStringLiteral("list"), commandKeyHeld);
        return true;
    case Qt::Key_Escape:
        MainWindowHelper::hideMainWindow();
        return true;
    default:
        return false;
    }
}

void ViewController::flagsChanged(int key, Qt::KeyboardModifiers modifiers, bool pressed)
{
    // The state after the change: X reports the modifiers held before the key.
    if (key == Qt::Key_Control)
        modifiers.setFlag(Qt::ControlModifier, pressed);
    bool held = commandKeyHeld;
    if (modifiers & Qt::ControlModifier)
        held = true;
    else if (key == Qt::Key_Control)
        held = false;
    // Other modifiers, and the same key seen twice, change nothing and announce nothing.
    if (held == commandKeyHeld)
        return;
    commandKeyHeld = held;
    NotificationCenter::defaultCenter().post(NotificationName::toggleModifierKey,
                                             QVariant::fromValue(static_cast<QObject*>(this)));
}

bool ViewController::eventFilter(QObject* watched, QEvent* event)
{
    const bool isKey = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (!isKey)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    // Every key of this window passes its native window once, whichever widget has the focus.
    const bool thisWindow = watched == window()->windowHandle();
    if (thisWindow && isModifierKey(key->key()) && !key->isAutoRepeat()) {
        flagsChanged(key->key(), key->modifiers(), event->type() == QEvent::KeyPress);
    }
    return false;
}

void ViewController::filesSelectionCleared()
{
    if (QAbstractItemView* table = m_filesViewController->listView())
        clearSelectionOf(table);
    selectedFileIndex = -1;
}

void ViewController::openClickedFile(const Notification& notification)
{
    bool isNumber = false;
    const qsizetype index = notification.object.toLongLong(&isNumber);
    if (!isNumber || selectedApp.isEmpty())
        return;
    const QString viewKind =
        m_filesViewController->gridView() ? QStringLiteral("grid") : QStringLiteral("list");
    openRecentFile(selectedApp.constFirst(), index, viewKind, commandKeyHeld);
}

void ViewController::commandKeyChanged()
{
    m_filesViewController->refreshForCommandKey();
}
