#include "FileManagerService.h"

#include "FreedesktopFileManager.h"

namespace {
std::unique_ptr<FileManagerService>& sharedFileManagerSlot()
{
    static std::unique_ptr<FileManagerService> service;
    return service;
}
} // namespace

FileManagerService& FileManagerService::shared()
{
    std::unique_ptr<FileManagerService>& slot = sharedFileManagerSlot();
    if (!slot)
        slot = std::make_unique<FreedesktopFileManager>();
    return *slot;
}

std::unique_ptr<FileManagerService>
FileManagerService::replaceShared(std::unique_ptr<FileManagerService> service)
{
    return std::exchange(sharedFileManagerSlot(), std::move(service));
}
