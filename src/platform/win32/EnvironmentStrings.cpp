#include "platform/win32/EnvironmentStrings.h"

#include <windows.h>

#include "platform/win32/Utf16.h"

namespace vh::win32 {

std::string ExpandEnvironmentStringsUtf8(const std::string& text) {
    const std::wstring wide = Utf8ToWide(text);
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ExpandEnvironmentStringsW(wide.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return text;
        if (length <= buffer.size()) return WideToUtf8(std::wstring_view(buffer.data(), length - 1));
        buffer.resize(length);
    }
}

}  // namespace vh::win32
