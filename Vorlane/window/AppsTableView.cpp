#include "AppsTableView.h"

#include "AppsContextMenu.h"
#include "AppsListModel.h"
#include "ItemViewSelection.h"
#include "MainWindowHelper.h"
#include "Selection.h"
#include "VorlaneController.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

AppsTableView::AppsTableView(QWidget* parent)
    : QListView(parent)
    , m_menu(new AppsContextMenu(this))
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setMouseTracking(true);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    viewport()->setAutoFillBackground(false);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    styleScrollBar();
}

void AppsTableView::changeEvent(QEvent* event)
{
    QListView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        styleScrollBar();
}

void AppsTableView::styleScrollBar()
{
    const QColor handle = palette().color(QPalette::WindowText);
    const QString rgba = QStringLiteral("rgba(%1, %2, %3, %4)")
                             .arg(handle.red())
                             .arg(handle.green())
                             .arg(handle.blue());
    verticalScrollBar()->setStyleSheet(
        QStringLiteral("QScrollBar:vertical { background: transparent; width: 6px; margin: 2px 0; }"
                       "QScrollBar::handle:vertical { background: %1; border-radius: 3px;"
                       " min-height: 24px; }"
                       "QScrollBar::handle:vertical:hover { background: %2; }"
                       "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical"
                       " { height: 0; }"
                       "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical"
                       " { background: transparent; }")
            .arg(rgba.arg(0.28), rgba.arg(0.5)));
}

QItemSelectionModel::SelectionFlags AppsTableView::selectionCommand(const QModelIndex& index,
                                                                    const QEvent* event) const
{
    // One application is always the chosen one: Ctrl-click never leaves the list without one.
    const QItemSelectionModel::SelectionFlags flags = QListView::selectionCommand(index, event);
    if (flags & (QItemSelectionModel::Toggle | QItemSelectionModel::Deselect))
        return QItemSelectionModel::ClearAndSelect;
    return flags;
}

void AppsTableView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        MainWindowHelper::hideMainWindow();
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The window's key rules take these.
        event->ignore();
        return;
    default:
        QListView::keyPressEvent(event);
    }
}

void AppsTableView::mousePressEvent(QMouseEvent* event)
{
    // Meta stands where the Control key stands elsewhere: Meta-click opens the context menu.
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::MetaModifier)) {
        openMenu(event->position().toPoint(), event->globalPosition().toPoint());
        return;
    }
    QListView::mousePressEvent(event);
}

void AppsTableView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        Q_EMIT applicationDoubleClicked();
}

void AppsTableView::contextMenuEvent(QContextMenuEvent* event)
{
    openMenu(event->pos(), event->globalPos());
}

void AppsTableView::openMenu(const QPoint& pos, const QPoint& globalPos)
{
    AppsContextMenu* menu = menuForEvent(pos);
    if (!menu)
        return;
    willOpenMenu();
    menu->exec(globalPos);
    didCloseMenu();
}

AppsContextMenu* AppsTableView::menuForEvent(const QPoint& pos)
{
    const QModelIndex index = indexAt(pos);
    if (!index.isValid())
        return nullptr;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    return m_menu;
}

void AppsTableView::willOpenMenu()
{
    contextMenuAppName = selectedIdentity();
    if (const RecentApp* app = VorlaneController::shared().appNamed(contextMenuAppName))
        // An ampersand in a name is text, not a mnemonic.
        m_menu->openItem()->setText(
            tr("Open %1").arg(QString(app->appName()).replace(u'&', QStringLiteral("&&"))));
}

void AppsTableView::didCloseMenu()
{
    contextMenuAppName = selectedIdentity();
}

QString AppsTableView::selectedIdentity() const
{
    const int row = selectedRowOf(this);
    return row < 0 ? QString()
                   : model()->index(row, 0).data(AppsListModel::IdentityRole).toString();
}
