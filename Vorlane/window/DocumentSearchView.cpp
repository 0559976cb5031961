#include "DocumentSearchView.h"

#include "DocumentSearchDelegate.h"
#include "DocumentSearchModel.h"
#include "FileActions.h"
#include "ItemViewSelection.h"
#include "PreviewPanel.h"
#include "SelectedAppTitle.h"
#include "SlimScrollBar.h"
#include "TelemetryClient.h"
#include "ThemePalette.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QScrollBar>

namespace {
// Room kept clear under the list for the toolbar floating over the pane's corner.
constexpr int bottomInset = 44;
} // namespace

DocumentSearchView::DocumentSearchView(QWidget* parent)
    : QWidget(parent)
    , m_model(new DocumentSearchModel(this))
    , m_title(new QLabel(this))
    , m_count(new QLabel(this))
    , m_list(new QListView(this))
    , m_nothingFound(new QLabel(this))
{
    setObjectName(QStringLiteral("documentSearchView"));
    auto* header = new QHBoxLayout;
    header->setContentsMargins(SelectedAppTitle::leading, 0, SelectedAppTitle::leading, 0);
    header->addWidget(m_title, 1);
    header->addWidget(m_count);
    m_title->setObjectName(QStringLiteral("documentSearchText"));
    m_title->setFixedHeight(SelectedAppTitle::height);
    m_title->setTextFormat(Qt::PlainText);
    m_title->setMinimumWidth(0);
    m_title->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    QFont bold = m_title->font();
    bold.setWeight(QFont::DemiBold);
    m_title->setFont(bold);
    m_count->setObjectName(QStringLiteral("documentSearchCount"));
    m_count->setTextFormat(Qt::PlainText);

    m_list->setObjectName(QStringLiteral("documentSearchResults"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new DocumentSearchDelegate(m_list));
    m_list->setUniformItemSizes(true);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SlimScrollBar::apply(m_list->verticalScrollBar());
    m_list->setDragEnabled(true);
    m_list->setDragDropMode(QAbstractItemView::DragOnly);
    m_list->setMouseTracking(true);
    m_list->viewport()->setAutoFillBackground(false);
    m_list->setAutoFillBackground(false);
    m_list->setAccessibleName(tr("Documents found"));
    connect(m_list, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { Q_EMIT rowActivated(index.row()); });
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (m_previewOpen)
            reloadQuickLook();
    });

    m_nothingFound->setObjectName(QStringLiteral("documentSearchNothingFound"));
    m_nothingFound->setAlignment(Qt::AlignCenter);
    m_nothingFound->setWordWrap(true);
    m_nothingFound->setTextFormat(Qt::PlainText);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(header);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_nothingFound, 1);
    layout->addSpacing(bottomInset);
    m_nothingFound->hide();
    connect(m_model, &QAbstractItemModel::modelReset, this, &DocumentSearchView::updateCount);
}

DocumentSearchView::~DocumentSearchView()
{
    PreviewPanel::controllerWillGoAway(this);
}

void DocumentSearchView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The look changed: the scroll bar and the quiet texts take its colours.
    if (event->type() == QEvent::PaletteChange) {
        SlimScrollBar::apply(m_list->verticalScrollBar());
        updateCount();
    }
}

void DocumentSearchView::showTypedText(const QString& text)
{
    m_typedText = text;
    m_title->setText(tr("Find “%1”").arg(text));
    m_title->setAccessibleName(m_title->text());
    updateCount();
}

void DocumentSearchView::updateCount()
{
    const int found = m_model->rowCount();
    m_count->setText(found == 1 ? tr("1 document") : tr("%1 documents").arg(found));
    QPalette quiet = m_count->palette();
    quiet.setColor(QPalette::WindowText, themePalette().headerLabelColor);
    m_count->setPalette(quiet);
    m_nothingFound->setPalette(quiet);
    m_nothingFound->setText(tr("No recent document matches “%1”.").arg(m_typedText));
    m_list->setVisible(found > 0);
    m_nothingFound->setVisible(found == 0);
}

int DocumentSearchView::selectedRow() const
{
    return selectedRowOf(m_list);
}

void DocumentSearchView::selectRow(int row)
{
    selectOnlyRow(m_list, row);
}

bool DocumentSearchView::acceptsPreviewPanelControl(PreviewPanel*)
{
    return true;
}

void DocumentSearchView::beginPreviewPanelControl(PreviewPanel* panel)
{
    m_previewOpen = true;
    panel->setDelegate(this);
    panel->setDataSource(this);
    TelemetryClient::shared().trackEvent(QStringLiteral("quicklookInvoked_FromTable"));
}

void DocumentSearchView::endPreviewPanelControl(PreviewPanel* panel)
{
    m_previewOpen = false;
    panel->setDataSource(nullptr);
    panel->setDelegate(nullptr);
}

int DocumentSearchView::numberOfPreviewItems(PreviewPanel*)
{
    return m_model->fileAt(selectedRow()) ? 1 : 0;
}

QUrl DocumentSearchView::previewItemAt(PreviewPanel*, int)
{
    const RecentFile* file = m_model->fileAt(selectedRow());
    return file ? file->filePath() : QUrl();
}

bool DocumentSearchView::handleEvent(PreviewPanel*, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    // Space closes the preview again; the arrows move through the results behind it.
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Space) {
        closeQuickLook();
        return true;
    }
    if (key != Qt::Key_Up && key != Qt::Key_Down)
        return false;
    QCoreApplication::sendEvent(m_list, event);
    return true;
}

QRect DocumentSearchView::sourceFrameOnScreen(PreviewPanel*, const QUrl&)
{
    const int row = selectedRow();
    if (row < 0)
        return {};
    const QRect rect = m_list->visualRect(m_model->index(row, 0));
    const QRect icon(rect.left(), rect.top(), rect.height(), rect.height());
    return {m_list->viewport()->mapToGlobal(icon.topLeft()), icon.size()};
}

QPixmap DocumentSearchView::transitionImage(PreviewPanel*, const QUrl&)
{
    return {};
}
