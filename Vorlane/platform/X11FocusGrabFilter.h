#pragma once

#include <QAbstractNativeEventFilter>

// Keeps keyboard grabs from looking like focus changes. While a global shortcut is held the X
// server grabs the keyboard, and the focused window gets a focus-out (mode Grab) that Qt would
// take for the window losing focus; a panel that hides when it loses focus would then vanish
// under the user's fingers. The matching focus-in (mode Ungrab) goes too.
class X11FocusGrabFilter : public QAbstractNativeEventFilter
{
public:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // Installs one filter for the process on X11; does nothing elsewhere or when installed.
    static void install();
};
