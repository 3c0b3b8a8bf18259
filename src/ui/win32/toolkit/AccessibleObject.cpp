#include "ui/win32/toolkit/AccessibleObject.h"

#include <oleauto.h>

#include "platform/win32/Utf16.h"

namespace vh::win32 {

HRESULT AccessibleText(const std::string& text, BSTR* result) noexcept {
    if (!result) return E_POINTER;
    *result = nullptr;
    if (text.empty()) return S_FALSE;
    try {
        const std::wstring wide = Utf8ToWide(text);
        *result = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    return *result ? S_OK : E_OUTOFMEMORY;
}

}  // namespace vh::win32
