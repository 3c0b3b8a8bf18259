#include "support/ForegroundSupport.h"

#include <vector>

#include "platform/win32/Utf16.h"

namespace vh::e2e {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

fs::path OwnFolder() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return fs::path(path).parent_path();
}

fs::path NotepadPath() {
    wchar_t system[MAX_PATH + 1] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH + 1);
    return fs::path(std::wstring(system, length)) / L"notepad.exe";
}

namespace {
struct MainWindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK CheckMainWindow(HWND window, LPARAM data) noexcept {
    auto* search = reinterpret_cast<MainWindowSearch*>(data);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window) || GetWindow(window, GW_OWNER) != nullptr)
        return TRUE;
    search->found = window;
    return FALSE;
}
}  // namespace

HWND WaitForMainWindow(const RunningProgram& program, std::chrono::milliseconds timeout) {
    MainWindowSearch search{program.ProcessId(), nullptr};
    WaitUntil(
        [&] {
            EnumWindows(&CheckMainWindow, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeout);
    return search.found;
}

HWND ShowMainWindowByHotKey(const RunningProgram& program) {
    HWND main = program.WaitForWindow(L"Vornhalt", 20s);
    if (!main) return nullptr;
    ATOM hotKey = 0;
    // The hot key is claimed at the end of the start-up.
    WaitUntil([&] { return (hotKey = GlobalFindAtomW(L"REZ_UZU_Vivuri")) != 0; }, 20s);
    PostMessageW(main, WM_HOTKEY, hotKey, 0);
    PostMessageW(main, WM_HOTKEY, hotKey, 0);
    if (!WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 5s)) return nullptr;
    return main;
}

bool BringToFront(HWND window, std::chrono::milliseconds timeout) {
    return WaitUntil(
        [&] {
            if (GetForegroundWindow() == window) return true;
            SetForegroundWindow(window);
            return GetForegroundWindow() == window;
        },
        timeout);
}

std::string DescribeForegroundWindow() {
    const HWND window = GetForegroundWindow();
    if (window == nullptr) return "no window";
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return "\"" + win32::WideToUtf8(text) + "\" of process " + std::to_string(processId);
}

std::wstring FakeBrowserArguments(const std::wstring& kind, const std::wstring& title, const std::wstring& address,
                                  int depth) {
    std::wstring arguments = kind + L" \"" + title + L"\" \"" + address + L"\"";
    if (depth > 0) arguments += L" " + std::to_wstring(depth);
    return arguments;
}

std::unique_ptr<RunningProgram> StartStandInBrowser(const std::wstring& image, const std::wstring& title,
                                                    const std::wstring& address, const std::wstring& options) {
    const std::wstring family = image == L"firefox.exe" ? L"gecko" : L"chromium";
    std::wstring arguments = FakeBrowserArguments(family, title, address);
    if (image == L"vivaldi.exe") arguments += L" --vivaldi";
    if (!options.empty()) arguments += L" " + options;
    return std::make_unique<RunningProgram>(OwnFolder() / L"browsers" / image, arguments);
}

bool SwitchStandInTab(HWND window, int index) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(window, WM_APP + 2, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG, 5000, &answer) !=
               0 &&
           answer == TRUE;
}

bool NavigateStandIn(HWND window, const std::wstring& address) {
    COPYDATASTRUCT data{};
    data.cbData = static_cast<DWORD>(address.size() * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(address.data());
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000,
                               &answer) != 0 &&
           answer == TRUE;
}

}  // namespace vh::e2e
