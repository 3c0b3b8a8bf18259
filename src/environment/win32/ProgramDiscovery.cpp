#include "environment/win32/ProgramDiscovery.h"

#include "environment/VersionInfo.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "platform/win32/DiscoveryPlatform.h"

namespace vh::win32 {

TDiscoveryResult DiscoverInstalledApplications(TScanType type, const TScanProgressEvent& progress,
                                               const std::function<void(int total)>& onTotal) {
    DiscoveryPlatform system;
    return DiscoverApplications(system.Platform([](const std::string& folder) { return SafeDirectoryExists(folder); }),
                                GetComputerNameCached(), type, progress, onTotal);
}

std::string ApplicationCaption(const std::string& path) {
    VersionResources versions;
    return GetAppCaption(versions, path);
}

}  // namespace vh::win32
