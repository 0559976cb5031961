#include "HotKeys/Shortcut.h"

#include "HotKeys/CarbonKeyTable.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

namespace HotKeys {
namespace {

const QString keyCodeMember = QStringLiteral("carbonKeyCode");
const QString modifiersMember = QStringLiteral("carbonModifiers");

std::optional<int> integerMember(const QJsonObject& object, const QString& member)
{
    const QJsonValue value = object.value(member);
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (std::trunc(number) != number || number < std::numeric_limits<int>::min() ||
        number > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(number);
}

} // namespace

Shortcut Shortcut::fromKey(int carbonKeyCode, ModifierFlags flags)
{
    return Shortcut{carbonKeyCode, carbonModifiersFromFlags(flags & shortcutModifierMask)};
}

std::optional<Shortcut> Shortcut::fromQtCombination(QKeyCombination combination)
{
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    const auto key = CarbonKeyTable::carbonKeyForQtKey(combination.key(),
                                                       modifiers.testFlag(Qt::KeypadModifier));
    if (!key)
        return std::nullopt;
    ModifierFlags flags = flagsFromQtModifiers(modifiers);
    if (key->impliesShift)
        flags |= ModifierFlag::Shift;
    return fromKey(key->carbonKeyCode, flags);
}

ModifierFlags Shortcut::modifierFlags() const
{
    return flagsFromCarbonModifiers(carbonModifiers);
}

std::optional<QKeyCombination> Shortcut::qtCombination() const
{
    const auto key = CarbonKeyTable::qtKeyForCarbonKey(carbonKeyCode);
    if (!key)
        return std::nullopt;
    Qt::KeyboardModifiers modifiers = qtModifiersFromFlags(modifierFlags());
    if (key->keypad)
        modifiers |= Qt::KeypadModifier;
    return QKeyCombination(modifiers, key->key);
}

QByteArray Shortcut::toJson() const
{
    QJsonObject object;
    object.insert(keyCodeMember, carbonKeyCode);
    object.insert(modifiersMember, carbonModifiers);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<Shortcut> Shortcut::fromJson(const QByteArray& json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const auto keyCode = integerMember(object, keyCodeMember);
    const auto modifiers = integerMember(object, modifiersMember);
    if (!keyCode || !modifiers)
        return std::nullopt;
    return Shortcut{*keyCode, *modifiers};
}

} // namespace HotKeys
