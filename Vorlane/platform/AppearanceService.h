#pragma once

#include <QObject>
#include <QString>

#include <memory>

// The desktop's light or dark preference, standing in for the system's "AppleInterfaceStyle"
// setting and its change notification. Answers "Dark" or nothing, as that setting does.
class AppearanceService : public QObject
{
    Q_OBJECT

public:
    ~AppearanceService() override;

    // "Dark" when the desktop prefers dark, else empty (light or no preference).
    virtual QString interfaceStyle() const = 0;

    // The process-wide service: the desktop portal's setting, until replaced.
    static AppearanceService& shared();
    // For tests and other desktops: installs a service, returning the previous one.
    static std::unique_ptr<AppearanceService>
    replaceShared(std::unique_ptr<AppearanceService> service);

Q_SIGNALS:
    // The desktop's preference changed; also posted as "AppleInterfaceThemeChangedNotification".
    void interfaceStyleChanged();

protected:
    AppearanceService() = default;
    // Emits the signal and posts the notification, on the main thread.
    void announceChange();
};
