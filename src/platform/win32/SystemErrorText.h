#pragma once
// The system's own text for an error code, in UTF-8 without the final line break.

#include <windows.h>

#include <string>

namespace vh::win32 {

std::string SystemErrorText(DWORD error);

}  // namespace vh::win32
