// Showing a named shortcut as the key equivalent of a menu item (a QAction).
#include "HotKeys/HotKeys.h"

#include <QAction>
#include <QKeySequence>
#include <QPointer>

namespace HotKeys {
namespace {

// The binding lives as a child of the action, so it goes when the action goes.
constexpr char bindingObjectName[] = "HotKeys_menuItemBinding";
constexpr char boundNameProperty[] = "HotKeys_shortcutName";

QObject* bindingOf(const QAction* item)
{
    return item->findChild<QObject*>(QLatin1String(bindingObjectName), Qt::FindDirectChildrenOnly);
}

void applyShortcut(QAction* item, const std::optional<Shortcut>& shortcut)
{
    const auto combination = shortcut ? shortcut->qtCombination() : std::nullopt;
    item->setShortcut(combination ? QKeySequence(*combination) : QKeySequence());
}

// The desktop's words for a trigger it chose, as a key sequence when Qt can read them.
QKeySequence keySequenceOfTrigger(const QString& trigger)
{
    for (const auto format : {QKeySequence::NativeText, QKeySequence::PortableText}) {
        const QKeySequence sequence = QKeySequence::fromString(trigger, format);
        if (sequence.count() == 1 && sequence[0].key() != Qt::Key_unknown)
            return sequence;
    }
    return QKeySequence();
}

// The item shows what the user can press: the desktop's own trigger where it chose one, and
// nothing for a shortcut the window system refused.
void applyShortcutOfName(QAction* item, const Name& name)
{
    if (boundShortcutName(item) != name.rawValue())
        return;
    const SystemBinding binding = systemBinding(name);
    if (binding.state == SystemBinding::State::refused)
        applyShortcut(item, std::nullopt);
    else if (!binding.trigger.isEmpty())
        item->setShortcut(keySequenceOfTrigger(binding.trigger));
    else
        applyShortcut(item, shortcutForName(name));
}

void unbind(QAction* item)
{
    delete bindingOf(item);
}

} // namespace

void bindMenuItemToShortcut(QAction* item, const std::optional<Name>& name)
{
    if (!item)
        return;
    unbind(item);
    if (!name) {
        applyShortcut(item, std::nullopt);
        return;
    }
    auto* binding = new QObject(item);
    binding->setObjectName(QLatin1String(bindingObjectName));
    binding->setProperty(boundNameProperty, name->rawValue());
    const Name boundName = *name;
    // The first showing waits for the event loop, as the item may still be being built.
    QMetaObject::invokeMethod(
        binding, [item, boundName] { applyShortcutOfName(item, boundName); }, Qt::QueuedConnection);
    QObject::connect(&ShortcutNotifier::instance(), &ShortcutNotifier::shortcutByNameDidChange,
                     binding, [item, boundName](const QString& changed) {
                         if (changed == boundName.rawValue())
                             applyShortcutOfName(item, boundName);
                     });
    QObject::connect(&ShortcutNotifier::instance(), &ShortcutNotifier::systemBindingDidChange,
                     binding, [item, boundName] { applyShortcutOfName(item, boundName); });
}

std::optional<QString> boundShortcutName(const QAction* item)
{
    const QObject* binding = item ? bindingOf(item) : nullptr;
    if (!binding)
        return std::nullopt;
    return binding->property(boundNameProperty).toString();
}

} // namespace HotKeys
