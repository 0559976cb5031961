#pragma once

#include <QString>

#include <memory>

// Showing a document in the desktop's file manager, standing in for the workspace's "select this
// file in Finder": its folder opens with the document selected.
class FileManagerService
{
public:
    virtual ~FileManagerService() = default;

    // Asks for the document at path (an absolute local path) to be shown. Returns at once: the
    // file manager is never waited for. Main thread only.
    virtual void selectFile(const QString& path) = 0;

    // The process-wide service: the freedesktop file-manager interface, until replaced.
    static FileManagerService& shared();
    static std::unique_ptr<FileManagerService>
    replaceShared(std::unique_ptr<FileManagerService> service);
};
