#include "ui/win32/main/MainWindowNotices.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <chrono>
#include <thread>

#include "platform/win32/Handles.h"
#include "platform/win32/Utf16.h"

namespace vh::win32 {
namespace {

constexpr char kAtomName[] = "VornhaltNoticeTestAtom";

UniqueWindow MessageWindow() {
    return UniqueWindow(
        CreateWindowExW(0, L"STATIC", L"notices", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, nullptr, nullptr));
}

// The owners undo exactly what they did: the hot key and its atom go with the
// owner, so a second owner can take them again.
TEST(MainWindowNotices, TheHotKeyAndItsAtomLastAsLongAsTheirOwner) {
    UniqueWindow window = MessageWindow();
    ASSERT_TRUE(window);
    ATOM id = 0;
    {
        THotKey hotKey(window.Get(), kAtomName, MOD_ALT | MOD_CONTROL, VK_F12);
        id = hotKey.Id();
        ASSERT_NE(id, 0);
        EXPECT_TRUE(hotKey.Registered());
        EXPECT_EQ(GlobalFindAtomW(Utf8ToWide(kAtomName).c_str()), id);
        // The same key cannot be registered twice while it is held.
        EXPECT_FALSE(RegisterHotKey(window.Get(), id + 1, MOD_ALT | MOD_CONTROL, VK_F12));
    }
    EXPECT_EQ(GlobalFindAtomW(Utf8ToWide(kAtomName).c_str()), 0);
    THotKey again(window.Get(), kAtomName, MOD_ALT | MOD_CONTROL, VK_F12);
    EXPECT_TRUE(again.Registered());
}

TEST(MainWindowNotices, SessionNoticesUnregisterWithTheirOwner) {
    UniqueWindow window = MessageWindow();
    ASSERT_TRUE(window);
    {
        TSessionNotices notices(window.Get());
        EXPECT_TRUE(notices.Registered());
    }
    // Registering again after the owner went succeeds as the first time did.
    TSessionNotices again(window.Get());
    EXPECT_TRUE(again.Registered());
}

// The shell may take long to answer a removal (Wine's notification area
// waits 2 s for a window manager when its last icon goes): the owner waits
// only briefly, and the icon is gone all the same.
TEST(MainWindowNotices, TheTrayIconGoesWithItsOwnerWhoWaitsForTheShellOnlyBriefly) {
    using namespace std::chrono_literals;
    UniqueWindow window(CreateWindowExW(0, L"STATIC", L"tray", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(window);
    NOTIFYICONDATAW probe{};
    probe.cbSize = sizeof(probe);
    probe.hWnd = window.Get();
    probe.uID = 7;
    probe.uFlags = NIF_TIP;
    std::chrono::steady_clock::time_point start;
    {
        TTrayIcon icon(window.Get(), 7, WM_USER + 1, LoadIconW(nullptr, IDI_APPLICATION), "tray test");
        ASSERT_TRUE(icon.Added());
        ASSERT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &probe)) << "the icon is not there";
        start = std::chrono::steady_clock::now();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, TTrayIcon::kRemovalWait + 500ms);
    // A modification finds no icon once the shell has removed it.
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (Shell_NotifyIconW(NIM_MODIFY, &probe) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &probe)) << "the icon stayed";
}

}  // namespace
}  // namespace vh::win32
