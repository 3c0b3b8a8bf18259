#include "platform/win32/Utf16.h"

#include <windows.h>

#include <climits>

#include "common/Exceptions.h"

namespace vh::win32 {

std::wstring Utf8ToWide(std::string_view text) {
    if (text.empty()) return std::wstring();
    VH_ASSERT(text.size() <= static_cast<size_t>(INT_MAX));
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring result(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, result.data(), needed);
    return result;
}

std::string WideToUtf8(std::wstring_view text) {
    if (text.empty()) return std::string();
    VH_ASSERT(text.size() <= static_cast<size_t>(INT_MAX));
    const int length = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, result.data(), needed, nullptr, nullptr);
    return result;
}

}  // namespace vh::win32
