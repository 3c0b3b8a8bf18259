#include "ui/win32/main/MainWindowNotices.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vh::win32
