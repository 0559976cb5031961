#include "HotKeys/RecorderField.h"

#include "HotKeys/CarbonKeyCodes.h"
#include "HotKeys/CarbonKeyTable.h"
#include "HotKeys/HotKeys.h"
#include "HotKeys/Localization.h"
#include "HotKeys/MenuClashSearch.h"
#include "HotKeys/UserFeedback.h"

#include <QAction>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QStyle>
#include <QTimer>

#include <algorithm>

namespace HotKeys {
namespace {

constexpr Qt::KeyboardModifiers shortcutModifiers =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

// Clicks this close to the field still count as clicks on it.
constexpr int clickSlop = 3;

bool isFunctionKey(int key)
{
    return key >= Qt::Key_F1 && key <= Qt::Key_F35;
}

} // namespace

RecorderField::RecorderField(Name name, ChangeCallback onChange, QWidget* parent)
    : QLineEdit(parent)
    , m_onChange(std::move(onChange))
    , m_shortcutName(std::move(name))
{
    setPlaceholderText(Localization::string("record_shortcut"));
    setAlignment(Qt::AlignCenter);
    // Nothing is typed here; read-only also hides the caret while recording.
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_cancelButton = addAction(style()->standardIcon(QStyle::SP_LineEditClearButton),
                               QLineEdit::TrailingPosition);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(m_cancelButton, &QAction::triggered, this, &RecorderField::clear);
    showCurrentShortcut();
    connect(&ShortcutNotifier::instance(), &ShortcutNotifier::shortcutByNameDidChange, this,
            [this](const QString& changed) {
                if (changed == m_shortcutName.rawValue())
                    showCurrentShortcut();
            });
    connect(&ShortcutNotifier::instance(), &ShortcutNotifier::systemBindingDidChange, this,
            &RecorderField::showCurrentShortcut);
    holdOffFocusForOneTurn();
}

RecorderField::~RecorderField()
{
    endRecording();
}

QSize RecorderField::sizeHint() const
{
    return QSize(m_minimumWidth, QLineEdit::sizeHint().height());
}

int RecorderField::widthShowingTexts(int minimum) const
{
    int widest = 0;
    for (const QString& text :
         {text(), Localization::string("record_shortcut"), Localization::string("press_shortcut")})
        widest = std::max(widest, fontMetrics().horizontalAdvance(text));
    // The text is centred beside the clear button: room for the button on either side, and
    // for the frame.
    const int button = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this) + 8;
    return std::max(minimum, widest + 2 * button + 8);
}

// The field shows what the user can press: the desktop's own trigger where it chose one. A
// shortcut the window system refused stays shown, with how to summon the program instead.
void RecorderField::showCurrentShortcut()
{
    const auto shortcut = shortcutForName(m_shortcutName);
    const SystemBinding binding = systemBinding(m_shortcutName);
    if (!shortcut)
        setText(QString());
    else if (!binding.trigger.isEmpty())
        setText(binding.trigger);
    else
        setText(nativeShortcutText(*shortcut));
    setToolTip(binding.state == SystemBinding::State::refused ? notGrantedHint() : QString());
    updateCancelButton();
}

// How to reach the shortcut's action without it: the command the application named, if any.
QString RecorderField::notGrantedHint() const
{
    const QString& command = m_shortcutName.purpose().command;
    if (command.isEmpty())
        return Localization::string("shortcut_not_granted");
    return Localization::string("shortcut_not_granted_bind")
        .arg(QCoreApplication::applicationName(), command);
}

void RecorderField::updateCancelButton()
{
    m_cancelButton->setVisible(!text().isEmpty());
}

// Focus is refused for one turn of the event loop whenever the field enters a window or its
// window is activated, so that opening a window does not start recording by itself.
void RecorderField::setCanBecomeKey(bool canBecomeKey)
{
    m_canBecomeKey = canBecomeKey;
    setFocusPolicy(canBecomeKey ? Qt::StrongFocus : Qt::NoFocus);
}

void RecorderField::holdOffFocusForOneTurn()
{
    setCanBecomeKey(false);
    QTimer::singleShot(0, this, [this] { setCanBecomeKey(true); });
}

bool RecorderField::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ParentChange:
        if (parentWidget())
            holdOffFocusForOneTurn();
        else
            endRecording();
        break;
    case QEvent::WindowActivate:
        holdOffFocusForOneTurn();
        break;
    case QEvent::WindowDeactivate:
        endRecording();
        clearFirstResponder();
        break;
    default:
        break;
    }
    return QLineEdit::event(event);
}

void RecorderField::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    startRecording();
}

void RecorderField::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A popup takes the keyboard for a moment and gives it back.
    if (event->reason() != Qt::PopupFocusReason)
        endRecording();
}

// Tab moves the focus on; when there is nowhere to go, the field still lets it go. Reporting
// the key as handled keeps the window from passing the focus straight back.
bool RecorderField::focusNextPrevChild(bool next)
{
    QLineEdit::focusNextPrevChild(next);
    clearFirstResponder();
    return true;
}

void RecorderField::startRecording()
{
    if (isRecording())
        return;
    setPlaceholderText(Localization::string("press_shortcut"));
    updateCancelButton();
    setShortcutsPaused(true);
    QPointer<RecorderField> recorder(this);
    m_eventMonitor = std::make_unique<LocalEventMonitor>(
        QList<QEvent::Type>{QEvent::MouseButtonRelease, QEvent::KeyPress, QEvent::ShortcutOverride},
        [recorder](QObject* receiver, QEvent* event) {
            return !recorder || recorder->handleMonitoredEvent(receiver, event);
        });
    m_eventMonitor->start();
}

void RecorderField::endRecording()
{
    if (!isRecording())
        return;
    // The monitor may be the caller (an alert ended recording from inside its callback).
    m_eventMonitor->stop();
    m_eventMonitor.release()->deleteLater();
    setPlaceholderText(Localization::string("record_shortcut"));
    updateCancelButton();
    setShortcutsPaused(false);
}

void RecorderField::clear()
{
    setText(QString());
    textDidChange();
}

// The clear button emptied the field: the shortcut goes and recording starts at once.
void RecorderField::textDidChange()
{
    const bool empty = text().isEmpty();
    if (empty) {
        setShortcutForName(std::nullopt, m_shortcutName);
        if (m_onChange)
            m_onChange(std::nullopt);
    }
    updateCancelButton();
    if (empty)
        setFocus(Qt::OtherFocusReason);
}

void RecorderField::clearFirstResponder()
{
    if (hasFocus())
        clearFocus();
}

// Returns true to swallow the event.
bool RecorderField::handleMonitoredEvent(QObject* receiver, QEvent* event)
{
    // Window-level copies of input events reach the focused widget next; act on that one.
    if (!receiver->isWidgetType())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
        return handleMouseUp(receiver, event);
    case QEvent::ShortcutOverride:
        // Keep the application's own shortcuts from taking the keys being recorded.
        event->accept();
        return true;
    case QEvent::KeyPress:
        return handleKeyDown(static_cast<QKeyEvent*>(event));
    default:
        return false;
    }
}

bool RecorderField::handleMouseUp(QObject* receiver, QEvent* event)
{
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton && mouse->button() != Qt::RightButton)
        return false;
    const QRect grown = rect().adjusted(-clickSlop, -clickSlop, clickSlop, clickSlop);
    if (!grown.contains(mapFromGlobal(mouse->globalPosition().toPoint()))) {
        clearFirstResponder();
        return false;
    }
    // The clear button is a child of the field and must still get its click.
    return receiver == this || !isAncestorOf(static_cast<QWidget*>(receiver));
}

bool RecorderField::handleKeyDown(QKeyEvent* event)
{
    // A modifier on its own is the start of a combination, not one.
    if (CarbonKeyTable::isModifierKey(event->key()))
        return true;
    const bool noModifiers = (event->modifiers() & shortcutModifiers) == 0;
    if (noModifiers && event->key() == Qt::Key_Tab)
        return false;
    if (noModifiers && event->key() == Qt::Key_Escape) {
        clearFirstResponder();
        return true;
    }
    if (noModifiers && (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)) {
        m_cancelButton->trigger();
        return true;
    }
    const auto shortcut = Shortcut::fromQtCombination(event->keyCombination());
    if (rejects(event, shortcut)) {
        UserFeedback::beep();
        return true;
    }
    if (clashesWithMenuItem(*shortcut) || refusedAsSystemShortcut(*shortcut))
        return true;
    accept(*shortcut);
    return true;
}

// A shortcut needs Command, Option or Control, unless its key is a function key.
bool RecorderField::rejects(const QKeyEvent* event, const std::optional<Shortcut>& shortcut) const
{
    if (!shortcut)
        return true;
    const bool onlyShift = (event->modifiers() & shortcutModifiers & ~Qt::ShiftModifier) == 0;
    return onlyShift && !isFunctionKey(event->key());
}

bool RecorderField::clashesWithMenuItem(const Shortcut& shortcut)
{
    const QAction* item = MenuClashSearch::findClash(shortcut, m_shortcutName.rawValue());
    if (!item)
        return false;
    const QString title = Localization::string("keyboard_shortcut_used_by_menu_item")
                              .arg(MenuClashSearch::title(item));
    clearFirstResponder();
    UserFeedback::runAlert(window(), title);
    setFocus(Qt::OtherFocusReason);
    return true;
}

bool RecorderField::refusedAsSystemShortcut(const Shortcut& shortcut)
{
    // F12 alone is reserved by some desktops yet commonly wanted.
    if (shortcut == Shortcut{CarbonKey::F12, 0} || !systemReservedShortcuts().contains(shortcut))
        return false;
    clearFirstResponder();
    const int choice = UserFeedback::runAlert(
        window(), Localization::string("keyboard_shortcut_used_by_system"),
        Localization::string("keyboard_shortcuts_can_be_changed"),
        {Localization::string("ok"), Localization::string("force_use_shortcut")});
    setFocus(Qt::OtherFocusReason);
    return choice != 1;
}

void RecorderField::accept(const Shortcut& shortcut)
{
    setText(nativeShortcutText(shortcut));
    m_cancelButton->setVisible(true);
    setShortcutForName(shortcut, m_shortcutName);
    if (m_onChange)
        m_onChange(shortcut);
    clearFirstResponder();
}

} // namespace HotKeys
