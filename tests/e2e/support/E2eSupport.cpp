#include "E2eSupport.h"

#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>

#include "platform/win32/Utf16.h"

namespace vh::e2e {

namespace fs = std::filesystem;

fs::path BuildFolder() {
    std::string unixPath = VH_BUILD_DIR;
    for (char& c : unixPath)
        if (c == '/') c = '\\';
    return fs::path(win32::Utf8ToWide("Z:" + unixPath));
}

TempFolder::TempFolder() {
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) throw std::runtime_error("GetTempPathW failed");
    const std::wstring name =
        L"vornhalt-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64());
    path_ = fs::path(temp) / name;
    fs::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void PostClick(HWND window, int x, int y) {
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

RunningProgram::RunningProgram(const fs::path& exe, const std::wstring& arguments) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    const std::wstring folder = exe.parent_path().wstring();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &info_))
        throw std::runtime_error("CreateProcessW failed with error " + std::to_string(GetLastError()));
}

RunningProgram::~RunningProgram() {
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 255);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

namespace {
struct WindowSearch {
    DWORD processId;
    const std::wstring* title;
    HWND found;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM data) noexcept {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->processId) return TRUE;
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    if (*search->title != text) return TRUE;
    search->found = window;
    return FALSE;
}
}  // namespace

HWND RunningProgram::FindWindowTitled(const std::wstring& title) const {
    WindowSearch search{info_.dwProcessId, &title, nullptr};
    EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND RunningProgram::WaitForWindow(const std::wstring& title, std::chrono::milliseconds timeout) const {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowTitled(title)) != nullptr; }, timeout);
    return found;
}

HWND RunningProgram::WaitForMainWindow(std::chrono::milliseconds timeout) const {
    HWND found = nullptr;
    HWND cancelled = nullptr;
    WaitUntil(
        [&] {
            // The first start asks for the settings first: Escape on its
            // first step cancels it (once: the dialog takes a moment to go).
            if (HWND settings = FindWindowTitled(L"Settings"); settings && IsWindowVisible(settings)) {
                if (settings != cancelled) PostMessageW(settings, WM_KEYDOWN, VK_ESCAPE, 0);
                cancelled = settings;
                return false;
            }
            return (found = FindWindowTitled(L"Vornhalt")) != nullptr;
        },
        timeout);
    return found;
}

bool RunningProgram::WaitForExit(std::chrono::milliseconds timeout, DWORD* exitCode) const {
    if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(info_.hProcess, exitCode);
    return true;
}

}  // namespace vh::e2e
