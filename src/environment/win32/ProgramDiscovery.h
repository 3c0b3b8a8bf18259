#pragma once
// Discovery as the program runs it: the Windows services of the discovery
// seam, the installed environment's volume-aware folder test and the local
// computer's name. The add wizard calls these.

#include <functional>
#include <string>

#include "environment/ApplicationDiscovery.h"

namespace vh::win32 {

// One scan of the chosen type, then the running programs (see
// DiscoverApplications). Needs the installed environment.
TDiscoveryResult DiscoverInstalledApplications(TScanType type, const TScanProgressEvent& progress,
                                               const std::function<void(int total)>& onTotal = {});

// The caption of an executable the user chose by hand.
std::string ApplicationCaption(const std::string& path);

}  // namespace vh::win32
