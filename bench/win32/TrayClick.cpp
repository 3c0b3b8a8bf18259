// Not a test: the tray icon's left click on the running Vornhalt, for
// scripts/measure-monitoring, which shows and hides the main window with it.
//   tray_click show|hide
//   tray_click cycles N
// Prints the milliseconds from the click until the window was in the state
// asked for and, when shown, painted; `cycles` shows and hides it N times
// (one time on a busy machine says little) and prints the median and the
// longest showing, leaving it hidden. Exits 1 when no main window answers or
// a state was not reached within 10 s.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The tray icon's callback message of the main window.
constexpr UINT kTrayIconMessage = WM_USER + 1;

// Clicks the icon and waits until the window is shown (and painted) or
// hidden; the milliseconds that took, or a negative number after 10 s.
double Click(HWND window, bool show) {
    const auto start = Clock::now();
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, kTrayIconMessage, 0, WM_LBUTTONDOWN, SMTO_NORMAL, 10000, &answer);
    while ((IsWindowVisible(window) != FALSE) != show) {
        if (Clock::now() - start > std::chrono::seconds(10)) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // Sends the pending WM_PAINT and returns once it was handled.
    if (show) UpdateWindow(window);
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const bool cycles = argc == 3 && std::strcmp(argv[1], "cycles") == 0;
    const bool one = argc == 2 && (std::strcmp(argv[1], "show") == 0 || std::strcmp(argv[1], "hide") == 0);
    if (!cycles && !one) {
        std::fprintf(stderr, "usage: tray_click show|hide|cycles N\n");
        return 2;
    }
    const HWND window = FindWindowW(L"VornhaltForm", L"Vornhalt");
    if (window == nullptr) {
        std::fprintf(stderr, "tray_click: no Vornhalt main window\n");
        return 1;
    }
    if (cycles) {
        const int n = std::max(1, std::atoi(argv[2]));
        if (IsWindowVisible(window) && Click(window, false) < 0) return 1;
        std::vector<double> shown;
        for (int i = 0; i < n; ++i) {
            const double ms = Click(window, true);
            if (ms < 0 || Click(window, false) < 0) {
                std::fprintf(stderr, "tray_click: the window did not show or hide\n");
                return 1;
            }
            shown.push_back(ms);
        }
        std::sort(shown.begin(), shown.end());
        std::printf("shown %d times: median %.1f ms, longest %.1f ms\n", n, shown[shown.size() / 2], shown.back());
        return 0;
    }
    const bool show = std::strcmp(argv[1], "show") == 0;
    if ((IsWindowVisible(window) != FALSE) == show) {
        std::printf("already %s\n", argv[1]);
        return 0;
    }
    const double ms = Click(window, show);
    if (ms < 0) {
        std::fprintf(stderr, "tray_click: the window did not %s\n", argv[1]);
        return 1;
    }
    std::printf("%s in %.1f ms\n", show ? "shown" : "hidden", ms);
    return 0;
}
