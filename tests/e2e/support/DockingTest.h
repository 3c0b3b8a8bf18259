#pragma once
// The fixture of the docking tests: the real program past its first start
// with the given appearance preferences, its bar shown as a click on the
// tray icon shows it, and the screen's work area and the bar's rectangle.

#include <windows.h>

#include <chrono>
#include <memory>
#include <string>

#include "support/ProgramTest.h"

namespace vh::e2e {

RECT WorkArea();
RECT WindowRectOf(HWND window);
std::string Describe(const RECT& r);
// Moves the mouse as a person would, so the window under it gets the move.
void MoveMouseTo(int x, int y);
// The bar in front keeps it shown. Xvfb has no window manager: a late focus
// event of the tray click that showed the bar may give it the foreground back
// after the test gave it to `window`. Brings `window` to the front until it
// has stayed there for `span` on its own; false when that takes longer than
// `timeout`.
bool KeepInFront(HWND window, std::chrono::milliseconds span, std::chrono::milliseconds timeout);

class DockingEndToEnd : public ProgramTest {
protected:
    // Past the first start, with the given preferences in the INI file.
    void Prepare(const std::wstring& iniText);
    // Starts the program and shows its bar as a click on the tray icon does.
    void StartShown();
    bool WaitForLeft(int left, std::chrono::milliseconds timeout) const;
    // As WaitForLeft, with `inFront` kept in front meanwhile (KeepInFront).
    bool WaitForLeftBehind(HWND inFront, int left, std::chrono::milliseconds timeout) const;
    // Saves the bar as the screen shows it in `<build>/screenshots/e2e/`.
    void Screenshot(const std::string& name) const;
    // Through the flag, as the uninstaller does.
    void End() const;
    int IniInteger(const wchar_t* section, const wchar_t* key) const;

    std::unique_ptr<RunningProgram> program_;
    HWND main_ = nullptr;
};

}  // namespace vh::e2e
