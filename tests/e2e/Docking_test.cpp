// The real Vornhalt.exe as a side bar under Wine: in its lite view docked at
// the top of the work area's right edge in the user's colour and again after
// the work area changed, a header drag takes it to the bottom of the left
// edge and the INI file remembers side and place; with
// auto-hide on it slides out to a 2-pixel sliver once the user has left it
// and comes back when the mouse touches the sliver, but not while the session
// is locked, drawn over a background picture with a transparency.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "Screenshot.h"
#include "support/DockingTest.h"
#include "support/ForegroundSupport.h"

namespace vh::e2e {
namespace {

using namespace std::chrono_literals;

constexpr int kHeaderX = 60;
constexpr int kHeaderY = 15;
// WTS_SESSION_LOCK, as the session notice brings it.
constexpr WPARAM kSessionLock = 7;

TEST_F(DockingEndToEnd, DocksTopRightInTheUsersColourAndAHeaderDragTakesItToTheBottomLeftForGood) {
    // Red 0x80, green 0x50, blue 0x20; opaque, so the screen shows the colour itself.
    ASSERT_NO_FATAL_FAILURE(Prepare(L"[Background]\r\nColor=2117760\r\nTransparency=0\r\n"));
    ASSERT_NO_FATAL_FAILURE(StartShown());
    const RECT work = WorkArea();
    // Visible before it is laid out at the lite view's height on a loaded
    // machine: the place is read once it has that height.
    WaitUntil([&] { return WindowRectOf(main_).bottom - WindowRectOf(main_).top == 295; }, 5s);
    RECT rect = WindowRectOf(main_);
    EXPECT_EQ(rect.right, work.right + 1) << Describe(rect) << " in " << Describe(work);
    EXPECT_EQ(rect.top, work.top);
    // The lite view: 10 pixels below its reminder panel (bottom 285).
    EXPECT_EQ(rect.bottom - rect.top, 295) << Describe(rect);

    // Below the reminder panel: the colour under the body's light veil, once
    // the bar has painted (a loaded machine may take a while).
    COLORREF body = 0;
    WaitUntil(
        [&] {
            win32::TBitmap32 shot;
            win32::testing::CaptureFromScreen(main_, shot);
            body = GetPixel(shot.Dc(), (rect.right - rect.left) / 2, (rect.bottom - rect.top) - 5);
            return body != 0;
        },
        5s);
    EXPECT_NEAR(GetRValue(body), 0x80, 40) << std::hex << body;
    EXPECT_NEAR(GetGValue(body), 0x50, 40) << std::hex << body;
    EXPECT_NEAR(GetBValue(body), 0x20, 40) << std::hex << body;
    EXPECT_GT(GetRValue(body), GetBValue(body) + 40) << "not the user's colour: " << std::hex << body;
    Screenshot("Vornhalt-docked-colour");

    // A changed work area (a task bar moved) docks it again.
    SetWindowPos(main_, nullptr, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitForLeft(100, 5s));
    // Sent, as the system does: a notice that may carry text cannot be posted.
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(main_, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    EXPECT_TRUE(WaitForLeft(rect.left, 5s)) << Describe(WindowRectOf(main_));
    EXPECT_EQ(WindowRectOf(main_).top, work.top);

    // Dragging within the right half and the top half does nothing.
    const int width = rect.right - rect.left;
    PostMessageW(main_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kHeaderX, kHeaderY));
    PostMessageW(main_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(kHeaderX - 40, kHeaderY + 30));
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(WindowRectOf(main_).left, rect.left) << "a drag within the right half moved the bar";

    // Past both middles: the bar goes to the bottom of the left edge at once.
    const int toLeftHalf = work.left + (work.right - work.left) / 4 - rect.left;
    const int toBottomHalf = kHeaderY + (work.bottom - work.top) * 3 / 4;
    PostMessageW(main_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(toLeftHalf, toBottomHalf));
    PostMessageW(main_, WM_LBUTTONUP, 0, MAKELPARAM(toLeftHalf, toBottomHalf));
    EXPECT_TRUE(WaitForLeft(work.left, 5s)) << Describe(WindowRectOf(main_));
    rect = WindowRectOf(main_);
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom, work.bottom) << Describe(rect);
    Screenshot("Vornhalt-docked-bottom-left");

    End();
    EXPECT_EQ(IniInteger(L"Position", L"Align"), 2) << "the left edge was not remembered";
    EXPECT_EQ(IniInteger(L"Position", L"AlignVertical"), 1) << "the bottom was not remembered";
}

TEST_F(DockingEndToEnd, AutoHidesToASliverAfterTheUserLeftAndComesBackUnderTheMouse) {
    const std::wstring picture = (folder_.Path() / L"Skins" / L"Mountains" / L"Alpine Dawn.png").wstring();
    ASSERT_NO_FATAL_FAILURE(
        Prepare(L"[Position]\r\nAutohide=1\r\n[Background]\r\nTransparency=30\r\nImage=" + picture + L"\r\n"));
    // Something else in front, so only the mouse can keep the bar shown.
    RunningProgram notepad(NotepadPath());
    const HWND notepadWindow = WaitForMainWindow(notepad, 20s);
    ASSERT_NE(notepadWindow, nullptr);
    ASSERT_NO_FATAL_FAILURE(StartShown());
    const RECT work = WorkArea();
    const RECT shown = WindowRectOf(main_);
    const int width = shown.right - shown.left;
    ASSERT_EQ(shown.left, work.right - width + 1);
    EXPECT_EQ(GetWindowLongPtrW(main_, GWL_EXSTYLE) & WS_EX_LAYERED, WS_EX_LAYERED) << "no transparency";
    BYTE alpha = 0;
    DWORD flags = 0;
    EXPECT_TRUE(GetLayeredWindowAttributes(main_, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 179) << "30 % transparency";
    Screenshot("Vornhalt-docked-picture-transparency");

    // The mouse over the bar keeps it shown, even with the notepad in front.
    const int middle = shown.top + 15;  // the header
    MoveMouseTo(shown.left + width / 2, middle);
    // Longer than the second's check and the countdown together.
    ASSERT_TRUE(KeepInFront(notepadWindow, 5s, 30s)) << "in front: " << DescribeForegroundWindow();
    EXPECT_EQ(WindowRectOf(main_).left, shown.left) << "the bar hid with the mouse on it";

    // The mouse gone: the second's check, the 3-second countdown, the slide.
    const auto left = std::chrono::steady_clock::now();
    MoveMouseTo(work.left + 10, work.top + 10);
    ASSERT_TRUE(WaitForLeftBehind(notepadWindow, work.right - 2, 15s))
        << Describe(WindowRectOf(main_)) << "; in front: " << DescribeForegroundWindow();
    const auto hiddenAfter = std::chrono::steady_clock::now() - left;
    EXPECT_GE(hiddenAfter, 3s) << "hid before the countdown ran out";

    // The mouse on the sliver brings it back, flush with the work area's edge.
    MoveMouseTo(work.right - 1, middle);
    EXPECT_TRUE(WaitForLeft(work.right - width, 5s)) << Describe(WindowRectOf(main_));

    // While the session is locked the bar does not hide, the mouse gone or not.
    PostMessageW(main_, WM_WTSSESSION_CHANGE, kSessionLock, 0);
    MoveMouseTo(work.left + 10, work.top + 10);
    std::this_thread::sleep_for(5s);
    EXPECT_EQ(WindowRectOf(main_).left, work.right - width) << "the bar slid while the session was locked";
    End();
}

}  // namespace
}  // namespace vh::e2e
