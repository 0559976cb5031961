#include "HotKeys/UnavailableHotKeyBackend.h"

#include "HotKeys/HotKeys.h"

#include <cstdio>

namespace HotKeys {
namespace {

// The command that does what the shortcut would, as the application named it; empty when none.
QString commandFor(const Shortcut& shortcut)
{
    for (const QString& rawValue : namesOfShortcut(shortcut)) {
        const std::optional<Name> name = knownName(rawValue);
        if (name && !name->purpose().command.isEmpty())
            return name->purpose().command;
    }
    return {};
}

} // namespace

bool UnavailableHotKeyBackend::registerHotKey(const Shortcut& shortcut, std::uint32_t)
{
    if (!m_told) {
        m_told = true;
        const QString command = commandFor(shortcut);
        const QString text =
            command.isEmpty()
                ? QStringLiteral("Global shortcuts are not available in this session.\n")
                : QStringLiteral("Global shortcuts are not available in this session; bind \"%1\" "
                                 "in the desktop's keyboard settings instead.\n")
                      .arg(command);
        std::fputs(text.toLocal8Bit().constData(), stdout);
        std::fflush(stdout);
    }
    return false;
}

void UnavailableHotKeyBackend::unregisterHotKey(std::uint32_t) {}

bool UnavailableHotKeyBackend::installEventHandler(EventCallback)
{
    return true;
}

void UnavailableHotKeyBackend::setHotKeyEventsEnabled(bool) {}

} // namespace HotKeys
