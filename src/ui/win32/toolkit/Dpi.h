#pragma once
// The DPI Windows gives a window: its monitor's where the system knows
// per-monitor DPI (GetDpiForWindow, Windows 10 1607 and later), else the
// system DPI.

#include <windows.h>

namespace vh::win32 {

int WindowDpi(HWND window) noexcept;

}  // namespace vh::win32
