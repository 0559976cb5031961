#pragma once

#include <QString>
#include <QStringList>

#include <memory>

// The desktop's settings page where recent-file history is switched on and off, standing in for
// the system's privacy settings that grant access to the recent-documents records.
class PrivacySettings
{
public:
    virtual ~PrivacySettings() = default;

    // Whether this desktop has such a page to open.
    virtual bool isAvailable() const = 0;
    // Opens it; false when nothing could be started.
    virtual bool open() = 0;

    // The process-wide opener for the running desktop, until replaced.
    static PrivacySettings& shared();
    static std::unique_ptr<PrivacySettings>
    replaceShared(std::unique_ptr<PrivacySettings> settings);
};
