#include "ui/win32/main/MainDocking.h"

#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "doubles/FakeEnvironmentPlatform.h"
#include "storage/AppearancePreferences.h"

namespace vh::win32 {
namespace {

using MainDocking = testing::UiTest;

IntRect WorkArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return {work.left, work.top, work.right, work.bottom};
}

// Runs the slide timer's ticks until it stops (at most 1,000).
void SlideToTheEnd(TMainDocking& docking) {
    for (int i = 0; i < 1000 && docking.tmrAutohideSlide.Enabled(); ++i)
        docking.tmrAutohideSlide.OnTimer(docking.tmrAutohideSlide);
}

TEST_F(MainDocking, DocksFlipsHidesToTheSliverStaysThereOnReDockAndPauses) {
    vh::testing::FakeEnvironmentPlatform platform;
    TEnvironment environment{platform};
    TAppearancePreferences preferences{environment};
    auto& form = CreateForm<TfrmBase>("Vornhalt", 242, 400);
    TMainDocking docking(form, preferences);
    bool paused = false;
    docking.IsPaused = [&] { return paused; };
    const IntRect work = WorkArea();

    docking.Start();
    IntRect rect = form.WindowRect();
    EXPECT_EQ(rect.right, work.right + 1);
    EXPECT_EQ(rect.top, work.top);
    EXPECT_EQ(rect.Height(), work.Height());
    EXPECT_TRUE(docking.tmrDeactivation.Enabled());

    // The header drag never moves the window itself; past the middle it flips.
    EXPECT_FALSE(docking.CanMoveTo(work.right - 300, 40));
    EXPECT_EQ(form.WindowRect().left, rect.left);
    EXPECT_FALSE(docking.CanMoveTo(work.left + 10, 40));
    EXPECT_EQ(form.WindowRect().left, work.left);
    EXPECT_EQ(preferences.GetAlign(), kDockLeft);
    const int writes = platform.writeCount;
    docking.SetDockSide(kDockLeft);
    EXPECT_EQ(platform.writeCount, writes) << "the same side is not stored again";
    docking.SetDockSide(kDockRight);

    // The user away (the window neither in front nor under the mouse).
    docking.SetAutohide(true);
    docking.tmrDeactivation.OnTimer(docking.tmrDeactivation);
    ASSERT_TRUE(docking.tmrAutohide.Enabled());
    docking.tmrAutohide.OnTimer(docking.tmrAutohide);
    ASSERT_TRUE(docking.tmrAutohideSlide.Enabled());
    EXPECT_FALSE(docking.tmrAutohide.Enabled());
    SlideToTheEnd(docking);
    EXPECT_EQ(docking.SlideState(), TSlideState::Hidden);
    EXPECT_EQ(form.SlideState, static_cast<std::uint8_t>(TSlideState::Hidden)) << "header drags must stop";
    EXPECT_EQ(form.WindowRect().left, work.right - 2);

    // A changed work area keeps a hidden window hidden, at the new edge.
    docking.ReDock();
    EXPECT_EQ(form.WindowRect().left, work.right - 2);

    // Paused: the window does not come out.
    paused = true;
    EXPECT_TRUE(docking.ShowIfHidden());
    docking.tmrAutohideSlide.OnTimer(docking.tmrAutohideSlide);
    EXPECT_EQ(form.WindowRect().left, work.right - 2);
    paused = false;
    SlideToTheEnd(docking);
    EXPECT_EQ(docking.SlideState(), TSlideState::Shown);
    EXPECT_EQ(form.WindowRect().left, work.right - 242);
    EXPECT_TRUE(docking.tmrAutohide.Enabled()) << "the countdown starts again";
    FreeForm(&form);
}

TEST_F(MainDocking, AtOneAndAHalfTimesTheScaleTheBarAndItsSliverAreScaledAndStillFillTheWorkArea) {
    vh::testing::FakeEnvironmentPlatform platform;
    TEnvironment environment{platform};
    TAppearancePreferences preferences{environment};
    auto& form = CreateForm<TfrmBase>("Vornhalt", 242, 400);
    form.ApplyDpi(144);
    TMainDocking docking(form, preferences);
    const IntRect work = WorkArea();

    docking.Start();
    const IntRect rect = form.WindowRect();
    EXPECT_EQ(rect.Width(), 363);
    EXPECT_EQ(rect.right, work.right + 1);
    EXPECT_EQ(rect.top, work.top);
    EXPECT_EQ(rect.bottom, work.bottom) << "no pixel lost or gained through 96-DPI rounding";

    docking.SetAutohide(true);
    docking.tmrDeactivation.OnTimer(docking.tmrDeactivation);
    docking.tmrAutohide.OnTimer(docking.tmrAutohide);
    SlideToTheEnd(docking);
    EXPECT_EQ(form.WindowRect().left, work.right - 3) << "the sliver is 2 pixels at 96 DPI";
    EXPECT_TRUE(docking.ShowIfHidden());
    SlideToTheEnd(docking);
    EXPECT_EQ(form.WindowRect().left, work.right - 363);
    FreeForm(&form);
}

}  // namespace
}  // namespace vh::win32
