#pragma once

#include <QString>

#include <memory>

// Registration of a helper program to be started when the user logs in, standing in for the
// system's login-item service. The answer of a registration is not needed by the program.
class LoginItemService
{
public:
    virtual ~LoginItemService() = default;

    // Registers (true) or unregisters (false) the helper known by identifier.
    virtual bool setEnabled(const QString& identifier, bool enabled) = 0;

    // The process-wide service: XDG autostart entries, until replaced.
    static LoginItemService& shared();
    static std::unique_ptr<LoginItemService>
    replaceShared(std::unique_ptr<LoginItemService> service);
};
