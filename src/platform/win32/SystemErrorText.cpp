#include "platform/win32/SystemErrorText.h"

#include <memory>

#include "platform/win32/Utf16.h"

namespace vh::win32 {

std::string SystemErrorText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const std::unique_ptr<wchar_t, decltype(&LocalFree)> owner(buffer, &LocalFree);
    if (length == 0 || buffer == nullptr) return "System error " + std::to_string(error);
    std::wstring text(buffer, length);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
    return WideToUtf8(text);
}

}  // namespace vh::win32
