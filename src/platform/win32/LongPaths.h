#pragma once
// Paths past MAX_PATH reach the W file functions only in their extended form.

#include <string>

namespace vh::win32 {

// "\\\\?\\C:\\..." or "\\\\?\\UNC\\server\\..." for a long absolute path;
// any other path unchanged.
std::wstring ExtendedLengthPath(const std::wstring& path);

}  // namespace vh::win32
