#pragma once
// Screenshots the tests save for a person to look at: a window as the screen
// shows it, written as an opaque PNG.

#include <windows.h>

#include <chrono>
#include <string>

#include "ui/win32/toolkit/Bitmap32.h"

namespace vh::win32::testing {

// Copies what the screen shows of a window (native children included) into
// `target`; the window must be visible and on top. A window reaching past
// the screen's edge gives the part on the screen.
void CaptureFromScreen(HWND window, TBitmap32& target);
// The same for a rectangle of the screen (several windows together).
void CaptureScreenRect(const RECT& area, TBitmap32& target);

// Saves the bitmap as `folder` + `name` + ".png", creating the folder; raises
// on failure. Returns the path.
std::string SavePng(const TBitmap32& bitmap, const std::string& folder, const std::string& name);

// Waits `painted` for the window to paint, then saves what the screen shows
// of it as `folder` + `name` + ".png".
void SaveWindowPng(HWND window, const std::string& folder, const std::string& name, std::chrono::milliseconds painted);

}  // namespace vh::win32::testing
