#pragma once
// Shutting the computer down through advapi32 and user32.

#include "platform/ISystemShutdown.h"

namespace vh::win32 {

class SystemShutdown : public ISystemShutdown {
public:
    void EnableShutdownPrivilege() override;
    void EndSessionForShutdown() override;
    void RequestShutdown(unsigned timeoutSeconds) override;
};

// EOSError for the calling thread's last error.
[[noreturn]] void RaiseLastOSError();

}  // namespace vh::win32
