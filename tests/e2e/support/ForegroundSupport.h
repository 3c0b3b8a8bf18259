#pragma once
// Helpers for tests that put another program's window in front and probe it.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "support/E2eSupport.h"

namespace vh::e2e {

// The folder of the running test program (where FakeBrowser.exe is built too).
std::filesystem::path OwnFolder();

// Wine's notepad in the prefix: C:\windows\system32\notepad.exe.
std::filesystem::path NotepadPath();

// A visible, unowned top-level window of the program, or null after the time-out.
HWND WaitForMainWindow(const RunningProgram& program, std::chrono::milliseconds timeout);

// The program's main window ("Vornhalt"), shown as a user shows it from the
// tray: a double press of the hot key, which the test posts as the system
// would send it. Null when it does not show.
HWND ShowMainWindowByHotKey(const RunningProgram& program);

// Asks for the window to come to the front and waits until it is there.
bool BringToFront(HWND window, std::chrono::milliseconds timeout);

// "<title>" of process <id>, the window in front, to explain a failure.
std::string DescribeForegroundWindow();

// Starts FakeBrowser.exe with the family, a title and the address (plus an
// optional tree depth for firefox).
std::wstring FakeBrowserArguments(const std::wstring& kind, const std::wstring& title, const std::wstring& address,
                                  int depth = 0);

// A stand-in for one of today's browsers: FakeBrowser.exe copied under the
// browser's image name ("msedge.exe" runs the "chromium" family, "firefox.exe"
// the "gecko" one, "vivaldi.exe" "chromium" with --vivaldi), started with a
// title, an address and FakeBrowser's options (--devtools, --latency=N, ...).
std::unique_ptr<RunningProgram> StartStandInBrowser(const std::wstring& image, const std::wstring& title,
                                                    const std::wstring& address,
                                                    const std::wstring& options = std::wstring());

// Has the stand-in Firefox show its tab `index` (the background tabs first).
bool SwitchStandInTab(HWND window, int index);

// Has the stand-in's tab navigate to `address`; false when it did not answer.
bool NavigateStandIn(HWND window, const std::wstring& address);

}  // namespace vh::e2e
