// Not a test: the tray icon's left click on the running Vornhalt, for
// scripts/measure-monitoring, which shows and hides the main window with it.
//   tray_click show|hide
// Prints the milliseconds from the click until the window was in the state
// asked for and, when shown, painted. Exits 1 when no main window answers or
// the state was not reached within 10 s.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// The tray icon's callback message of the main window.
constexpr UINT kTrayIconMessage = WM_USER + 1;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || (std::strcmp(argv[1], "show") != 0 && std::strcmp(argv[1], "hide") != 0)) {
        std::fprintf(stderr, "usage: tray_click show|hide\n");
        return 2;
    }
    const bool show = std::strcmp(argv[1], "show") == 0;
    const HWND window = FindWindowW(L"VornhaltForm", L"Vornhalt");
    if (window == nullptr) {
        std::fprintf(stderr, "tray_click: no Vornhalt main window\n");
        return 1;
    }
    if ((IsWindowVisible(window) != FALSE) == show) {
        std::printf("already %s\n", argv[1]);
        return 0;
    }
    const auto start = Clock::now();
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, kTrayIconMessage, 0, WM_LBUTTONDOWN, SMTO_NORMAL, 10000, &answer);
    while ((IsWindowVisible(window) != FALSE) != show) {
        if (Clock::now() - start > std::chrono::seconds(10)) {
            std::fprintf(stderr, "tray_click: the window did not %s\n", argv[1]);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // Sends the pending WM_PAINT and returns once it was handled.
    if (show) UpdateWindow(window);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("%s in %.1f ms\n", show ? "shown" : "hidden", ms);
    return 0;
}
