#include "DocumentSearchController.h"

#include "DocumentSearchModel.h"
#include "DocumentSearchView.h"
#include "FileActions.h"
#include "FirstFrame.h"
#include "SharedReferences.h"
#include "ThreadPriority.h"
#include "VorlaneController.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QKeyEvent>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {
bool isTextField(const QWidget* widget)
{
    if (!widget)
        return false;
    if (const auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->isEditable();
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QKeySequenceEdit*>(widget);
}

// Text a key types: printable characters only, with no Ctrl, Alt or Meta held (those are
// shortcuts).
QString typedTextOf(const QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return {};
    const QString text = event->text();
    for (const QChar c : text) {
        if (!c.isPrint())
            return {};
    }
    return text;
}

// A symbol outside the basic plane takes two code units: Backspace takes both.
qsizetype lastCharacterLength(const QString& text)
{
    const qsizetype size = text.size();
    if (size >= 2 && text.at(size - 1).isLowSurrogate() && text.at(size - 2).isHighSurrogate())
        return 2;
    return std::min<qsizetype>(size, 1);
}

bool isReturn(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}
} // namespace

DocumentSearchController::DocumentSearchController(QWidget* content, QWidget* rightPanel,
                                                   QList<QWidget*> replaced)
    : QObject(content)
    , m_content(content)
    , m_rightPanel(rightPanel)
    , m_view(new DocumentSearchView(rightPanel))
    , m_indexer(std::make_unique<QThreadPool>())
{
    m_indexer->setMaxThreadCount(1);
    for (QWidget* widget : std::as_const(replaced))
        m_replaced.append(widget);
    m_view->hide();
    connect(m_view, &DocumentSearchView::rowActivated, this, [this](int row) {
        m_view->selectRow(row);
        openSelected(commandKeyHeld);
    });
    // A click or the arrows in the list: Space previews from now on.
    connect(m_view->list(), &QAbstractItemView::pressed, this, [this] { m_typing = false; });
    m_view->list()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view->list(), &QWidget::customContextMenuRequested, this,
            &DocumentSearchController::showContextMenu);
    qApp->installEventFilter(this);
}

DocumentSearchController::~DocumentSearchController()
{
    qApp->removeEventFilter(this);
    m_indexer->waitForDone();
}

bool DocumentSearchController::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !m_content || !watched->isWidgetType())
        return false;
    // A key goes to the focus widget first (the window itself when none has the focus), then to
    // its parents while they leave it: it is taken, or not, at the first.
    const auto* widget = static_cast<QWidget*>(watched);
    QWidget* window = m_content->window();
    const QWidget* focus = QApplication::focusWidget();
    const bool firstReceiver = focus ? widget == focus : widget == window;
    if (!firstReceiver || widget->window() != window)
        return false;
    return keyPressed(static_cast<QKeyEvent*>(event));
}

bool DocumentSearchController::takesTyping() const
{
    // Only over the documents, never over the empty state or into a text field.
    return !VorlaneController::shared().isEmpty() && !isTextField(QApplication::focusWidget());
}

bool DocumentSearchController::keyPressed(const QKeyEvent* event)
{
    if (!takesTyping())
        return false;
    if (isSearching())
        return searchingKeyPressed(event);
    // Space previews and other keys belong to the window's rules until something is typed.
    const QString text = typedTextOf(event);
    if (text.isEmpty() || text.trimmed().isEmpty())
        return false;
    m_typing = true;
    setTypedText(text);
    return true;
}

bool DocumentSearchController::searchingKeyPressed(const QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Escape) {
        clear();
        return true;
    }
    if (isReturn(key)) {
        openSelected(commandKeyHeld || (event->modifiers() & Qt::ControlModifier));
        return true;
    }
    if (key == Qt::Key_Backspace) {
        m_typing = true;
        setTypedText(m_typedText.chopped(lastCharacterLength(m_typedText)));
        return true;
    }
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Left || key == Qt::Key_Right)
        return true;
    if (key == Qt::Key_Space && !m_typing && !(event->modifiers() & Qt::ControlModifier)) {
        toggleQuickLook(m_view->list());
        return true;
    }
    const QString text = typedTextOf(event);
    if (!text.isEmpty()) {
        m_typing = true;
        setTypedText(m_typedText + text);
        return true;
    }
    // The moving keys go on to the results list, which has the focus.
    if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
        key == Qt::Key_PageDown || key == Qt::Key_Home || key == Qt::Key_End)
        m_typing = false;
    return false;
}

void DocumentSearchController::setTypedText(const QString& text)
{
    if (text.isEmpty()) {
        clear();
        return;
    }
    const bool starting = !isSearching();
    m_typedText = text;
    if (starting)
        showResults(true);
    m_view->showTypedText(m_typedText);
    // Each change of the text puts the best match first and selects it.
    search(0);
}

void DocumentSearchController::clear()
{
    if (!isSearching())
        return;
    m_typedText.clear();
    m_typing = false;
    closeQuickLook();
    m_view->model()->setResults({}, {});
    showResults(false);
}

void DocumentSearchController::refreshIndex()
{
    if (m_indexCurrent)
        return;
    const VorlaneController& store = VorlaneController::shared();
    m_index = DocumentSearch(store.isEmpty() ? QList<RecentApp>() : store.recentApps(), &m_index);
    m_indexCurrent = true;
}

void DocumentSearchController::search(int rowToSelect)
{
    refreshIndex();
    const VorlaneController& store = VorlaneController::shared();
    m_view->model()->setResults(store.isEmpty() ? QList<RecentApp>() : store.recentApps(),
                                m_index.find(m_typedText));
    m_view->selectRow(std::min(rowToSelect, m_view->model()->rowCount() - 1));
}

void DocumentSearchController::prepareIndexInBackground()
{
    // The window's first frame needs no words; the first key comes well after it. A store that
    // changed again meanwhile is cut once, when asked again.
    FirstFrame::after(this, [this, generation = m_storeGeneration] {
        if (generation == m_storeGeneration && !m_indexCurrent)
            cutWordsInBackground();
    });
}

void DocumentSearchController::cutWordsInBackground()
{
    const quint64 generation = m_storeGeneration;
    const VorlaneController& store = VorlaneController::shared();
    const QList<RecentApp> apps = store.isEmpty() ? QList<RecentApp>() : store.recentApps();
    const QPointer<DocumentSearchController> self(this);
    m_indexer->start([self, apps, previous = m_index, generation] {
        ThreadPriority::lowerThisThread();
        auto prepared = std::make_shared<DocumentSearch>(apps, &previous);
        QMetaObject::invokeMethod(
            qApp,
            [self, prepared, generation] {
                // A search may have cut the words itself meanwhile, or the store moved on.
                if (!self || self->m_indexCurrent || self->m_storeGeneration != generation)
                    return;
                self->m_index = std::move(*prepared);
                self->m_indexCurrent = true;
            },
            Qt::QueuedConnection);
    });
}

void DocumentSearchController::storeChanged()
{
    m_indexCurrent = false;
    ++m_storeGeneration;
    if (!isSearching()) {
        prepareIndexInBackground();
        return;
    }
    if (VorlaneController::shared().isEmpty()) {
        clear();
        return;
    }
    // The window shows its lists again after the store was empty: the results stay in front.
    for (const QPointer<QWidget>& widget : std::as_const(m_replaced)) {
        if (widget)
            widget->hide();
    }
    const DocumentSearchModel* model = m_view->model();
    const int selected = m_view->selectedRow();
    const RecentApp* app = model->appAt(selected);
    const RecentFile* file = model->fileAt(selected);
    const QString appIdentity = app ? app->name() : QString();
    const QUrl fileUrl = file ? file->filePath() : QUrl();
    search(std::max(selected, 0));
    // The same document stays selected where it is still found.
    if (const int row = model->rowOf(appIdentity, fileUrl); row >= 0)
        m_view->selectRow(row);
}

void DocumentSearchController::openSelected(bool reveal)
{
    const int row = m_view->selectedRow();
    const RecentApp* app = m_view->model()->appAt(row);
    if (!app)
        return;
    // The model's own copy of the application: the store may have moved on since.
    const RecentApp opened = *app;
    openRecentFile(opened, m_view->model()->fileIndexAt(row), QStringLiteral("search"), reveal);
}

void DocumentSearchController::showContextMenu(const QPoint& position)
{
    QListView* list = m_view->list();
    const QModelIndex index = list->indexAt(position);
    if (!index.isValid())
        return;
    m_view->selectRow(index.row());
    m_typing = false;
    auto* menu = new QMenu(list);
    menu->setObjectName(QStringLiteral("documentSearchMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(tr("Open"), this, [this] { openSelected(false); });
    menu->addAction(tr("Show in File Manager"), this, [this] { openSelected(true); });
    const QString name = index.data().toString().replace(u'&', QStringLiteral("&&"));
    menu->addAction(tr("Preview \"%1\"").arg(name), this,
                    [this] { showQuickLook(m_view->list()); });
    menu->popup(list->viewport()->mapToGlobal(position));
}

void DocumentSearchController::showResults(bool shown)
{
    if (shown) {
        if (auto* layout =
                m_rightPanel ? qobject_cast<QBoxLayout*>(m_rightPanel->layout()) : nullptr;
            layout && layout->indexOf(m_view) < 0)
            layout->addWidget(m_view, 1);
        m_focusBefore = QApplication::focusWidget();
        for (const QPointer<QWidget>& widget : std::as_const(m_replaced)) {
            if (widget)
                widget->hide();
        }
        m_view->show();
        m_view->list()->setFocus(Qt::OtherFocusReason);
        return;
    }
    const bool listFocused = m_view->list()->hasFocus();
    m_view->hide();
    // The files side comes back only over documents: the store may have emptied meanwhile.
    if (!VorlaneController::shared().isEmpty()) {
        for (const QPointer<QWidget>& widget : std::as_const(m_replaced)) {
            if (widget)
                widget->show();
        }
    }
    if (listFocused && m_focusBefore && m_focusBefore->isVisible())
        m_focusBefore->setFocus(Qt::OtherFocusReason);
}
