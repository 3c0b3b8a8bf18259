#include "environment/win32/ProgramEnvironment.h"

#include <memory>

#include "environment/DateTimeUtils.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "platform/win32/EnvironmentClock.h"
#include "platform/win32/EnvironmentPlatform.h"

namespace vh::win32 {

namespace {
EnvironmentClock& ProgramClockSource() {
    static EnvironmentClock clock;
    return clock;
}
}  // namespace

void StartProgramEnvironment() {
    InstallEnvironment(std::make_unique<EnvironmentPlatform>());
    InitializeProgramClock(ProgramClockSource());
}

void EndProgramEnvironment() noexcept {
    FinalizeProgramClock();
    UninstallEnvironment();
}

}  // namespace vh::win32
