#pragma once
// Environment variables in a UTF-8 text ("%ProgramFiles%\Editor\edit.exe")
// expanded the way the shell does.

#include <string>

namespace vh::win32 {

// The text with every %NAME% of a defined variable replaced; undefined ones
// stay as written. A text the system cannot expand comes back unchanged.
std::string ExpandEnvironmentStringsUtf8(const std::string& text);

}  // namespace vh::win32
