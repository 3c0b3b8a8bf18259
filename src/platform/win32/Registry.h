#pragma once
// Read-only registry access on Windows, in either view.

#include "platform/IDiscoveryPlatform.h"

namespace vh::win32 {

class Registry : public IRegistry {
public:
    std::optional<std::vector<std::string>> SubkeyNames(TRegistryView view, const std::string& key) override;
    std::optional<std::vector<TRegistryValue>> Values(TRegistryView view, const std::string& key) override;
    TRegistryRead ReadString(const std::string& computer, TRegistryRoot root, const std::string& key,
                             const std::string& valueName, TRegistryView view) override;
};

}  // namespace vh::win32
