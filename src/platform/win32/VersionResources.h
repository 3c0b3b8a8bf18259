#pragma once
// Version resources of executables through version.dll.

#include "platform/IDiscoveryPlatform.h"

namespace vh::win32 {

class VersionResources : public IVersionResources {
public:
    std::unique_ptr<IVersionResource> Load(const std::string& path) override;
    std::string LanguageName(std::uint16_t language) override;
};

}  // namespace vh::win32
