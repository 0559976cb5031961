#include "HotKeys/ShortcutNotifier.h"

namespace HotKeys {

ShortcutNotifier& ShortcutNotifier::instance()
{
    static ShortcutNotifier notifier;
    return notifier;
}

} // namespace HotKeys
