#pragma once
// The discovery seam on Windows: every service in one object.

#include <functional>
#include <string>

#include "platform/IDiscoveryPlatform.h"
#include "platform/win32/DiscoveryFiles.h"
#include "platform/win32/ProcessQuery.h"
#include "platform/win32/Registry.h"
#include "platform/win32/VersionResources.h"

namespace vh::win32 {

class DiscoveryPlatform {
public:
    // `directoryExists` is the environment's volume-aware folder test.
    TDiscoveryPlatform Platform(std::function<bool(const std::string&)> directoryExists) {
        return {directories_, registry_, folders_, shortcuts_, processes_, versions_, std::move(directoryExists)};
    }

private:
    DirectoryLister directories_;
    Registry registry_;
    ShellFolders folders_;
    ShortcutReader shortcuts_;
    ProcessQuery processes_;
    VersionResources versions_;
};

}  // namespace vh::win32
