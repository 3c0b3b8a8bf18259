#include "environment/win32/ProgramEnvironment.h"

#include <windows.h>

#include <memory>
#include <string>

#include "environment/DateTimeUtils.h"
#include "environment/Trace.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "platform/win32/EnvironmentClock.h"
#include "platform/win32/EnvironmentPlatform.h"
#include "platform/win32/Utf16.h"

namespace vh::win32 {

namespace {
EnvironmentClock& ProgramClockSource() {
    static EnvironmentClock clock;
    return clock;
}
}  // namespace

void StartProgramEnvironment(bool traceToFile) {
#ifndef NDEBUG
    SetTraceDebuggerWriter(
        [](std::string_view line) { OutputDebugStringW(Utf8ToWide(std::string(line) + "\n").c_str()); });
#endif
    InstallEnvironment(std::make_unique<EnvironmentPlatform>());
    InitializeProgramClock(ProgramClockSource());
    if (traceToFile) StartTraceFile(GAppDataFolder() + kTraceFileName, kTraceFileMaxBytes);
}

void EndProgramEnvironment() noexcept {
    StopTraceFile();
    FinalizeProgramClock();
    UninstallEnvironment();
}

}  // namespace vh::win32
