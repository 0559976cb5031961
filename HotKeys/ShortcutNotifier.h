#pragma once

#include <QObject>

namespace HotKeys {

// Announces every stored or removed shortcut, as "HotKeys_shortcutByNameDidChange" does.
class ShortcutNotifier : public QObject
{
    Q_OBJECT

public:
    static ShortcutNotifier& instance();

Q_SIGNALS:
    // Carries the raw value of the name whose shortcut changed.
    void shortcutByNameDidChange(const QString& name);
    // What the window system made of some shortcut changed (see systemBinding).
    void systemBindingDidChange();

private:
    ShortcutNotifier() = default;
};

} // namespace HotKeys
