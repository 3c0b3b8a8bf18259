// Run only in a Wine session whose system DPI is 144 (scripts/lib/wine-exec-dpi):
// the real bar at 150 % is one and a half times as wide and as high, still
// flush with the work area's edge, and hides to a sliver of 3 pixels.

#include <gtest/gtest.h>

#include <chrono>

#include "support/DockingTest.h"
#include "support/ForegroundSupport.h"

namespace vh::e2e {
namespace {

using namespace std::chrono_literals;

TEST_F(DockingEndToEnd, AtOneHundredFortyFourDpiTheBarIsScaledAtItsEdgeAndHidesToItsScaledSliver) {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 144) << "this program must run in a session at LogPixels 144";

    const std::wstring picture = (folder_.Path() / L"Skins" / L"Coast" / L"Coast Sunset.png").wstring();
    ASSERT_TRUE(std::filesystem::exists(picture)) << "no background picture beside the program";
    ASSERT_NO_FATAL_FAILURE(
        Prepare(L"[Position]\r\nAutohide=1\r\n[Background]\r\nTransparency=0\r\nImage=" + picture + L"\r\n"));
    RunningProgram notepad(NotepadPath());
    const HWND notepadWindow = WaitForMainWindow(notepad, 20s);
    ASSERT_NE(notepadWindow, nullptr);
    const RECT work = WorkArea();
    MoveMouseTo(work.right - 200, work.top + 200);  // on the bar, until the screenshot is taken
    ASSERT_NO_FATAL_FAILURE(StartShown());

    // Visible before it is laid out at the lite view's height on a loaded
    // machine: the sizes are read once it has that height.
    WaitUntil([&] { return WindowRectOf(main_).bottom - WindowRectOf(main_).top == 443; }, 5s);
    const RECT rect = WindowRectOf(main_);
    EXPECT_EQ(rect.right - rect.left, 479) << "319 pixels at 150 %: " << Describe(rect);
    EXPECT_EQ(rect.bottom - rect.top, 443) << "the lite view's 295 pixels at 150 %: " << Describe(rect);
    EXPECT_EQ(rect.right, work.right + 1) << Describe(rect) << " in " << Describe(work);
    EXPECT_EQ(rect.top, work.top);
    Screenshot("Vornhalt-docked-144dpi");

    MoveMouseTo(work.left + 10, work.top + 10);
    EXPECT_TRUE(WaitForLeftBehind(notepadWindow, work.right - 3, 15s))
        << "not at its 3-pixel sliver: " << Describe(WindowRectOf(main_));
    MoveMouseTo(work.right - 1, work.top + 200);
    EXPECT_TRUE(WaitForLeft(work.right - 479, 5s)) << Describe(WindowRectOf(main_));
    End();
}

}  // namespace
}  // namespace vh::e2e
