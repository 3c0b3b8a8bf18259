#pragma once
// Scoped owners of what the main window registers with the system: its tray
// icon, its hot key with the global atom naming it, and its session-change
// notices. Each undoes its registration when it goes, however the window ends.

#include <windows.h>

#include <chrono>
#include <string>

namespace vh::win32 {

class TTrayIcon {
public:
    // Adds the icon; Added() tells whether the shell took it.
    TTrayIcon(HWND window, UINT id, UINT callbackMessage, HICON icon, const std::string& tip);
    // Removes the icon, waiting at most kRemovalWait for the shell (see the
    // .cpp): the program's end, which setup waits for, is not held up.
    ~TTrayIcon();
    static constexpr std::chrono::milliseconds kRemovalWait{250};
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;
    bool Added() const noexcept { return added_; }

private:
    HWND window_;
    UINT id_;
    bool added_ = false;
};

class THotKey {
public:
    // Adds the atom and registers the hot key under its value; without either
    // the program simply does not react to the key.
    THotKey(HWND window, const std::string& atomName, UINT modifiers, UINT virtualKey);
    ~THotKey();
    THotKey(const THotKey&) = delete;
    THotKey& operator=(const THotKey&) = delete;
    ATOM Id() const noexcept { return atom_; }
    bool Registered() const noexcept { return registered_; }

private:
    HWND window_;
    ATOM atom_ = 0;
    bool registered_ = false;
};

class TSessionNotices {
public:
    explicit TSessionNotices(HWND window);
    ~TSessionNotices();
    TSessionNotices(const TSessionNotices&) = delete;
    TSessionNotices& operator=(const TSessionNotices&) = delete;
    bool Registered() const noexcept { return registered_; }

private:
    HWND window_;
    bool registered_ = false;
};

}  // namespace vh::win32
