#pragma once
// Helpers for end-to-end tests: a private folder, the real program started
// from it, and waiting for what it does. Every process started here is ended
// by its handle when the test ends.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

namespace vh::e2e {

// The folder of the build, as Wine sees it (Z:\...).
std::filesystem::path BuildFolder();

// A uniquely named folder under the Wine user's temp folder, removed (with
// its contents) when the object dies.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A click of the left button at a client point of a window (window-less
// buttons have no window of their own).
void PostClick(HWND window, int x, int y);

// Polls `condition` every 50 ms until it holds or the time-out passes.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

class RunningProgram {
public:
    // `arguments` follow the quoted program path on the command line.
    explicit RunningProgram(const std::filesystem::path& exe, const std::wstring& arguments = std::wstring());
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    DWORD ProcessId() const { return info_.dwProcessId; }
    // A top-level window of this process whose text is `title`, or null.
    HWND FindWindowTitled(const std::wstring& title) const;
    HWND WaitForWindow(const std::wstring& title, std::chrono::milliseconds timeout) const;
    // The main window ("Vornhalt"), cancelling the first start's settings
    // dialog should it come first.
    HWND WaitForMainWindow(std::chrono::milliseconds timeout) const;
    // True once the process has ended within the time-out; `exitCode` gets its code.
    bool WaitForExit(std::chrono::milliseconds timeout, DWORD* exitCode = nullptr) const;

private:
    PROCESS_INFORMATION info_{};
};

}  // namespace vh::e2e
