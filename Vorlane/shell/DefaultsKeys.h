#pragma once

#include <QString>

// The keys under which start-up, the preferences, the onboarding and the menus keep the user's
// choices in the application's settings.
namespace DefaultsKey {

inline const QString appearance = QStringLiteral("Appearance");
inline const QString loginItem = QStringLiteral("LoginItem");
inline const QString showDockIcon = QStringLiteral("ShowDockIcon");
// True while the tray icon is hidden: the inverse of its name.
inline const QString showMenuBarIcon = QStringLiteral("ShowMenuBarIcon");
inline const QString autoHideWindow = QStringLiteral("AutoHideWindow");
// The user's own auto-hide choice, kept while the task-bar presence forces auto-hide on.
inline const QString autoHideWindowSetByUser = QStringLiteral("AutoHideWindowSetByUser");
inline const QString onboardingCompleted = QStringLiteral("OnboardingCompleted");
// The touch strip along the bottom of the main window; absent: shown when there is a touch screen.
inline const QString showTouchStrip = QStringLiteral("ShowTouchStrip");

} // namespace DefaultsKey
