#pragma once
// The running processes' executable paths from the management service (WMI).

#include "platform/IDiscoveryPlatform.h"

namespace vh::win32 {

class ProcessQuery : public IProcessQuery {
public:
    std::vector<std::string> ExecutablePaths(const std::string& computer) override;
};

}  // namespace vh::win32
