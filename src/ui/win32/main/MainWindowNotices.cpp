#include "ui/win32/main/MainWindowNotices.h"

#include <shellapi.h>
#include <wtsapi32.h>

#include <cwchar>
#include <future>
#include <iterator>
#include <memory>
#include <thread>

#include "platform/win32/Utf16.h"

namespace vh::win32 {

TTrayIcon::TTrayIcon(HWND window, UINT id, UINT callbackMessage, HICON icon, const std::string& tip)
    : window_(window), id_(id) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window_;
    data.uID = id_;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = icon;
    const std::wstring wideTip = Utf8ToWide(tip);
    wcsncpy(data.szTip, wideTip.c_str(), std::size(data.szTip) - 1);
    added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

// The shell answers NIM_DELETE only once it has dealt with it; Wine's
// notification area, when its last icon goes, waits 2 s for a window manager
// to hide its own window first. The removal is sent from a helper thread and
// waited for briefly: once sent the shell removes the icon even if this
// process has ended meanwhile.
TTrayIcon::~TTrayIcon() {
    if (!added_) return;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window_;
    data.uID = id_;
    try {
        auto removed = std::make_shared<std::promise<void>>();
        std::future<void> done = removed->get_future();
        std::thread([data, removed]() mutable noexcept {
            Shell_NotifyIconW(NIM_DELETE, &data);
            try {
                removed->set_value();
            } catch (...) {
            }
        }).detach();
        done.wait_for(kRemovalWait);
    } catch (...) {
        // No thread: removed here, however long it takes.
        Shell_NotifyIconW(NIM_DELETE, &data);
    }
}

THotKey::THotKey(HWND window, const std::string& atomName, UINT modifiers, UINT virtualKey) : window_(window) {
    atom_ = GlobalAddAtomW(Utf8ToWide(atomName).c_str());
    registered_ = atom_ != 0 && RegisterHotKey(window_, atom_, modifiers, virtualKey) != FALSE;
}

THotKey::~THotKey() {
    if (registered_) UnregisterHotKey(window_, atom_);
    if (atom_ != 0) GlobalDeleteAtom(atom_);
}

TSessionNotices::TSessionNotices(HWND window) : window_(window) {
    registered_ = WTSRegisterSessionNotification(window_, NOTIFY_FOR_THIS_SESSION) != FALSE;
}

TSessionNotices::~TSessionNotices() {
    if (registered_) WTSUnRegisterSessionNotification(window_);
}

}  // namespace vh::win32
