#pragma once

#include "HotKeys/ModifierFlags.h"

#include <QByteArray>
#include <QHashFunctions>
#include <QKeyCombination>

#include <optional>

namespace HotKeys {

// A key and its modifiers in Carbon's numbers: the stored and registered form of a shortcut.
struct Shortcut
{
    int carbonKeyCode = 0;
    int carbonModifiers = 0;

    // Keeps only Command, Shift, Option and Control of the given flags.
    static Shortcut fromKey(int carbonKeyCode, ModifierFlags flags);
    // A Qt key combination as a shortcut; nothing for keys the key table does not know.
    static std::optional<Shortcut> fromQtCombination(QKeyCombination combination);

    ModifierFlags modifierFlags() const;
    // Nothing for keys without a Qt name.
    std::optional<QKeyCombination> qtCombination() const;

    // Compact JSON with exactly the members carbonKeyCode and carbonModifiers.
    QByteArray toJson() const;
    // Nothing unless the text is a JSON object whose two members are integers.
    static std::optional<Shortcut> fromJson(const QByteArray& json);

    friend bool operator==(const Shortcut&, const Shortcut&) = default;
};

inline size_t qHash(const Shortcut& shortcut, size_t seed = 0)
{
    return qHashMulti(seed, shortcut.carbonKeyCode, shortcut.carbonModifiers);
}

} // namespace HotKeys
