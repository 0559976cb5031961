#pragma once

#include <QString>

// What an application path tells about the application: its display name and its icon. The path
// is a desktop entry file, or a folder bundle with Contents/Info.plist (Vorlane's own build tree).
class ApplicationBundle
{
public:
    static ApplicationBundle atPath(const QString& path);

    // The application's name; "App" when the bundle cannot be read or names nothing.
    const QString& displayName() const { return m_displayName; }
    // An icon-theme name or an image path; empty when the bundle names no icon.
    const QString& iconName() const { return m_iconName; }

private:
    QString m_displayName = QStringLiteral("App");
    QString m_iconName;
};
