#include "ui/win32/toolkit/Dpi.h"

#include "platform/win32/Handles.h"
#include "ui/DpiScale.h"

namespace vh::win32 {

int WindowDpi(HWND window) noexcept {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    // Looked up at run time: older systems lack it.
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window)) return ValidDpi(static_cast<int>(dpi));
    }
    const ClientDc screen(nullptr);
    return ValidDpi(screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSX) : kDesignDpi);
}

}  // namespace vh::win32
