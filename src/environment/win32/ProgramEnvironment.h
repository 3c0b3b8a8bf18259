#pragma once
// The start-up and the end of the program's environment on Windows: installs
// the environment over the Win32 platform (working out the folders and
// creating the application-data folder) and starts the program clock; the
// end stops the clock and frees the environment with its INI file. Debug
// builds trace to the debugger; `traceToFile` (the /trace switch) adds the
// trace file "Vornhalt.trace.log" in the application-data folder.

#include <string_view>

namespace vh::win32 {

// Raises EEnvironmentError ("Failed to get Application Data folder") when
// the environment cannot be set up; the program cannot start then.
void StartProgramEnvironment(bool traceToFile = false);
void EndProgramEnvironment() noexcept;

}  // namespace vh::win32
