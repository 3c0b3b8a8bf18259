// Program entry: creates the main window and runs the message loop.

#include <windows.h>

#include <exception>

namespace {

constexpr wchar_t kMainWindowClass[] = L"TfrmMain";
constexpr wchar_t kMainWindowTitle[] = L"Vornhalt";

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        switch (message) {
            case WM_DESTROY:
                PostQuitMessage(0);
                return 0;
            default:
                break;
        }
    } catch (...) {
        // Nothing may cross the window procedure; the handler comes with the
        // application's error dialog.
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hIconSm = wc.hIcon;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kMainWindowClass;
    if (!RegisterClassExW(&wc)) return 1;

    HWND window = CreateWindowExW(0, kMainWindowClass, kMainWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 320, 600, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, showCommand);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
