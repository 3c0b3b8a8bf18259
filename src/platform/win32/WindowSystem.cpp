#include "platform/win32/WindowSystem.h"

#include <objbase.h>
#include <oleacc.h>
#include <psapi.h>
#include <windows.h>
#include <wrl/client.h>

#include <exception>
#include <memory>
#include <string>

#include "platform/win32/AccessibleObject.h"
#include "platform/win32/Handles.h"
#include "platform/win32/SystemErrorText.h"
#include "platform/win32/Utf16.h"

namespace vh::win32 {

namespace {

HWND ToHwnd(TWindowId window) {
    return reinterpret_cast<HWND>(window);
}

// Carries the step into the enumeration callback and an exception out of it:
// the callback itself never lets one pass.
struct Enumeration {
    const TWindowStep* step;
    std::exception_ptr error;
};

BOOL CALLBACK EnumerationCallback(HWND window, LPARAM data) noexcept {
    auto& enumeration = *reinterpret_cast<Enumeration*>(data);
    try {
        return (*enumeration.step)(reinterpret_cast<TWindowId>(window)) ? TRUE : FALSE;
    } catch (...) {
        enumeration.error = std::current_exception();
        return FALSE;
    }
}

// Process image names are NT device paths that may exceed MAX_PATH.
constexpr DWORD kLongPathChars = 32768;
constexpr int kClassNameChars = 257;
constexpr int kWindowTextChars = 1024;

}  // namespace

WindowSystem::WindowSystem() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    comInitialised_ = SUCCEEDED(hr);  // S_FALSE too: every success is paired with an uninitialise
}

WindowSystem::~WindowSystem() {
    if (comInitialised_) CoUninitialize();
}

TWindowId WindowSystem::ForegroundWindow() {
    return reinterpret_cast<TWindowId>(GetForegroundWindow());
}

void WindowSystem::EnumerateTopLevelWindows(const TWindowStep& step) {
    Enumeration enumeration{&step, nullptr};
    EnumWindows(&EnumerationCallback, reinterpret_cast<LPARAM>(&enumeration));
    if (enumeration.error) std::rethrow_exception(enumeration.error);
}

void WindowSystem::EnumerateChildWindows(TWindowId parent, const TWindowStep& step) {
    // A null parent would make EnumChildWindows walk the top-level windows.
    if (parent == 0) return;
    Enumeration enumeration{&step, nullptr};
    EnumChildWindows(ToHwnd(parent), &EnumerationCallback, reinterpret_cast<LPARAM>(&enumeration));
    if (enumeration.error) std::rethrow_exception(enumeration.error);
}

std::string WindowSystem::ClassName(TWindowId window) {
    wchar_t name[kClassNameChars] = {};
    const int length = GetClassNameW(ToHwnd(window), name, kClassNameChars);
    return length > 0 ? WideToUtf8(std::wstring_view(name, static_cast<size_t>(length))) : std::string();
}

std::string WindowSystem::WindowText(TWindowId window) {
    // The window belongs to another program, which may hang: a plain send
    // would freeze this program's only thread and every timer with it.
    wchar_t text[kWindowTextChars] = {};
    DWORD_PTR copied = 0;
    if (SendMessageTimeoutW(ToHwnd(window), WM_GETTEXT, kWindowTextChars, reinterpret_cast<LPARAM>(text),
                            SMTO_ABORTIFHUNG, kWindowTextTimeoutMs, &copied) == 0)
        return std::string();
    text[kWindowTextChars - 1] = L'\0';
    return WideToUtf8(std::wstring_view(text, wcsnlen(text, kWindowTextChars)));
}

bool WindowSystem::IsVisible(TWindowId window) {
    return IsWindowVisible(ToHwnd(window)) != FALSE;
}

std::uint32_t WindowSystem::WindowProcessId(TWindowId window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(ToHwnd(window), &processId);
    return processId;
}

TProcessImage WindowSystem::ProcessImage(std::uint32_t processId) {
    // The limited right is all GetProcessImageFileNameW needs, and it is
    // granted for elevated processes too.
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return TProcessImage{false, std::string(), SystemErrorText(GetLastError())};
    std::wstring path(kLongPathChars, L'\0');
    const DWORD length = GetProcessImageFileNameW(process.Get(), path.data(), kLongPathChars);
    if (length == 0) return TProcessImage{false, std::string(), SystemErrorText(GetLastError())};
    path.resize(length);
    return TProcessImage{true, WideToUtf8(path), std::string()};
}

std::optional<std::string> WindowSystem::DriveDeviceName(char letter) {
    const wchar_t drive[3] = {static_cast<wchar_t>(letter), L':', L'\0'};
    std::wstring targets(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = QueryDosDeviceW(drive, targets.data(), static_cast<DWORD>(targets.size()));
        if (length != 0) break;
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || targets.size() >= kLongPathChars) return std::nullopt;
        targets.resize(targets.size() * 2);
    }
    // The first of the zero-separated targets is the current one.
    const std::wstring_view first(targets.c_str());
    if (first.empty()) return std::nullopt;
    return WideToUtf8(first);
}

void WindowSystem::PostClose(TWindowId window) {
    PostMessageW(ToHwnd(window), WM_CLOSE, 0, 0);
}

namespace {
std::shared_ptr<IAccessibleObject> ObjectFromWindow(TWindowId window, LONG objectId) {
    Microsoft::WRL::ComPtr<IAccessible> accessible;
    const HRESULT hr = ::AccessibleObjectFromWindow(ToHwnd(window), static_cast<DWORD>(objectId), __uuidof(IAccessible),
                                                    reinterpret_cast<void**>(accessible.GetAddressOf()));
    if (FAILED(hr) || !accessible) return nullptr;
    return std::make_shared<AccessibleObject>(std::move(accessible));
}
}  // namespace

std::shared_ptr<IAccessibleObject> WindowSystem::AccessibleObjectFromWindow(TWindowId window) {
    return ObjectFromWindow(window, OBJID_WINDOW);
}

std::shared_ptr<IAccessibleObject> WindowSystem::ClientAccessibleObject(TWindowId window) {
    // AccessibleObjectFromWindow would hand a window that does not answer
    // the system's stand-in object, which holds no address.
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(ToHwnd(window), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT), SMTO_ABORTIFHUNG,
                            kAccessibilityRequestTimeoutMs, &answer) == 0 ||
        answer == 0)
        return nullptr;
    Microsoft::WRL::ComPtr<IAccessible> accessible;
    if (FAILED(ObjectFromLresult(static_cast<LRESULT>(answer), __uuidof(IAccessible), 0,
                                 reinterpret_cast<void**>(accessible.GetAddressOf()))) ||
        !accessible)
        return nullptr;
    return std::make_shared<AccessibleObject>(std::move(accessible));
}

void WindowSystem::RequestAccessibility(TWindowId window) {
    // Chromium's render window answers id 1 with 0 and only notes the request
    // (content/browser/renderer_host/legacy_render_widget_host_win.cc).
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(ToHwnd(window), WM_GETOBJECT, 0, kChromiumScreenReaderObjectId, SMTO_ABORTIFHUNG,
                        kAccessibilityRequestTimeoutMs, &ignored);
    // The answer holds a reference to the window's object: taking it over
    // and releasing it is the only way not to leak it in the browser.
    ClientAccessibleObject(window);
}

}  // namespace vh::win32
