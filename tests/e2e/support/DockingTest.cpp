#include "support/DockingTest.h"

#include <thread>

#include "Screenshot.h"
#include "support/ProgramFolder.h"

namespace vh::e2e {

using namespace std::chrono_literals;

RECT WorkArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

RECT WindowRectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

void MoveMouseTo(int x, int y) {
    SetCursorPos(x, y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}

bool KeepInFront(HWND window, std::chrono::milliseconds span, std::chrono::milliseconds timeout) {
    auto since = std::chrono::steady_clock::now();
    return WaitUntil(
        [&] {
            if (GetForegroundWindow() != window) {
                SetForegroundWindow(window);
                since = std::chrono::steady_clock::now();
                return false;
            }
            return std::chrono::steady_clock::now() - since >= span;
        },
        timeout);
}

void DockingEndToEnd::Prepare(const std::wstring& iniText) {
    PrepareListedNotepad();
    const std::filesystem::path ini = AppData(L"Vornhalt.ini");
    HANDLE file = CreateFileW(ini.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const std::string text(iniText.begin(), iniText.end());
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

void DockingEndToEnd::StartShown() {
    program_ = std::make_unique<RunningProgram>(exe_);
    main_ = program_->WaitForWindow(L"Vornhalt", 20s);
    ASSERT_NE(main_, nullptr);
    PostMessageW(main_, WM_USER + 1, 0, WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }, 10s)) << "the tray click showed nothing";
}

bool DockingEndToEnd::WaitForLeft(int left, std::chrono::milliseconds timeout) const {
    return WaitUntil([&] { return WindowRectOf(main_).left == left; }, timeout);
}

bool DockingEndToEnd::WaitForLeftBehind(HWND inFront, int left, std::chrono::milliseconds timeout) const {
    return WaitUntil(
        [&] {
            KeepInFront(inFront, 0ms, 1s);
            return WindowRectOf(main_).left == left;
        },
        timeout);
}

void DockingEndToEnd::Screenshot(const std::string& name) const {
    std::this_thread::sleep_for(500ms);  // painted
    win32::TBitmap32 shot;
    win32::testing::CaptureFromScreen(main_, shot);
    win32::testing::SavePng(shot, VH_SCREENSHOT_DIR, name);
}

// How promptly is the monitoring tests' concern: a window that has been shown
// takes Wine longer to take down, more so on a busy machine.
void DockingEndToEnd::End() const {
    WriteUninstallFlag(folder_.Path());
    DWORD exitCode = 1;
    ASSERT_TRUE(program_->WaitForExit(20s, &exitCode)) << "still running after uninstall.flag";
    EXPECT_EQ(exitCode, 0u);
}

int DockingEndToEnd::IniInteger(const wchar_t* section, const wchar_t* key) const {
    return static_cast<int>(GetPrivateProfileIntW(section, key, -1, AppData(L"Vornhalt.ini").c_str()));
}

}  // namespace vh::e2e
