#pragma once
// UTF-8 inside the program, UTF-16 at the Win32 boundary. Conversions go by
// length, so embedded zeros survive; invalid input becomes U+FFFD.

#include <string>
#include <string_view>

namespace vh::win32 {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

}  // namespace vh::win32
