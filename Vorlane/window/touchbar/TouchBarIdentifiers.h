#pragma once

#include <QString>

// The names of the touch strips and their items. The strips' widgets carry them as object names,
// so the strips can be found in the window.
namespace TouchBarIdentifier {

// The applications strip.
inline const QString appTouchBar = QStringLiteral("com.ostrel.Vorlane.appTouchBar");
// Its one item; "Touchbar" with a lower-case "b", unlike the strip's own name.
inline const QString appScrubber = QStringLiteral("com.ostrel.Vorlane.appTouchbar.scrubber");
// The two items of the files strip.
inline const QString fileScrubber = QStringLiteral("com.ostrel.Vorlane.fileTouchBar.scrubber");
inline const QString clearButton = QStringLiteral("com.ostrel.Vorlane.fileTouchBar.clearButton");
// The kinds of item view the two scrubbers make.
inline const QString appIcon = QStringLiteral("AppIcon");
inline const QString fileItem = QStringLiteral("fileItem");

} // namespace TouchBarIdentifier
