#include "ui/AutoHide.h"

#include <gtest/gtest.h>

#include "ui/Docking.h"

namespace vh {
namespace {

constexpr IntRect kWork{0, 0, 1024, 738};
constexpr IntRect kWorkRightOfTaskBar{60, 0, 1024, 768};

struct SlideRun {
    int ticks = 0;
    int left = 0;
};

// Ticks the slide until it stops (or gives up after 1,000 ticks).
SlideRun Slide(TAutoHide& autoHide, int left, int width, const IntRect& work, std::uint8_t side) {
    SlideRun run{0, left};
    while (autoHide.SlideTimerRunning() && run.ticks < 1000) {
        run.left = autoHide.SlideTick(run.left, width, work, side, true);
        ++run.ticks;
    }
    return run;
}

// Drives a shown window through the countdown until the slide starts.
void StartHiding(TAutoHide& autoHide) {
    autoHide.DeactivationTick(false, true);
    ASSERT_TRUE(autoHide.AutohideTimerRunning());
    autoHide.AutohideTick(true, false, true);
    ASSERT_FALSE(autoHide.AutohideTimerRunning());
    ASSERT_TRUE(autoHide.SlideTimerRunning());
}

TEST(KeepShown, ForegroundOrCursorInsideUnlessPaused) {
    const IntRect client{783, 0, 1025, 738};
    EXPECT_TRUE(KeepShown(false, true, client, {10, 10}));  // in front, mouse elsewhere
    EXPECT_TRUE(KeepShown(false, false, client, {800, 300}));
    EXPECT_TRUE(KeepShown(false, false, client, {783, 0}));
    EXPECT_FALSE(KeepShown(false, false, client, {782, 300}));
    EXPECT_FALSE(KeepShown(false, false, client, {900, 738}));
    EXPECT_FALSE(KeepShown(true, true, client, {800, 300}));  // paused counts as away
}

TEST(AutoHide, FullCycleOnEachSideWithItsTickCountsAndFinalPlaces) {
    struct Case {
        IntRect work;
        std::uint8_t side;
        int width;
        int sliver;
        int hideTicks;
        int hiddenLeft;
        int showTicks;
        int shownLeft;
    };
    const Case cases[] = {
        // 319 wide: 31 pixels a tick, 11 ticks to hide.
        {kWork, kDockRight, 319, 2, 11, 1022, 11, 705},
        {kWork, kDockLeft, 319, 2, 11, 2 - 319, 11, 0},
        // Task bar at the left: hides to work-area left + 2 - width.
        {kWorkRightOfTaskBar, kDockLeft, 319, 2, 11, 60 + 2 - 319, 11, 60},
        {kWorkRightOfTaskBar, kDockRight, 242, 2, 11, 1022, 11, 1024 - 242},
        // A window narrower than ten pixels still moves one pixel a tick.
        {kWork, kDockRight, 5, 2, 5, 1022, 4, 1019},
        // At 150 %: 363 pixels wide, 36 a tick, and a 3-pixel sliver.
        {kWork, kDockRight, 363, 3, 11, 1021, 11, 1024 - 363},
        {kWorkRightOfTaskBar, kDockLeft, 363, 3, 11, 60 + 3 - 363, 11, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "side " << int(c.side) << " width " << c.width);
        TAutoHide autoHide;
        autoHide.SetSliverWidth(c.sliver);
        StartHiding(autoHide);
        const int docked = DockPosition(c.work, {c.width, 700}, c.side, kPlaceTop, false).x;
        const int first = autoHide.SlideTick(docked, c.width, c.work, c.side, true);
        EXPECT_EQ(autoHide.State(), TSlideState::Hiding);
        const SlideRun hidden = Slide(autoHide, first, c.width, c.work, c.side);
        EXPECT_EQ(hidden.ticks + 1, c.hideTicks);
        EXPECT_EQ(hidden.left, c.hiddenLeft);
        EXPECT_EQ(autoHide.State(), TSlideState::Hidden);
        EXPECT_FALSE(autoHide.AutohideTimerRunning());

        autoHide.BodyMouseMove(true);
        ASSERT_TRUE(autoHide.SlideTimerRunning());
        const SlideRun shown = Slide(autoHide, hidden.left, c.width, c.work, c.side);
        EXPECT_EQ(shown.ticks, c.showTicks);
        EXPECT_EQ(shown.left, c.shownLeft);
        EXPECT_EQ(autoHide.State(), TSlideState::Shown);
        EXPECT_TRUE(autoHide.AutohideTimerRunning()) << "the countdown starts again once shown";
    }
}

TEST(AutoHide, CountdownArmsOnlyWhenAwayShownAndOn) {
    struct Case {
        bool keepShown;
        bool autohide;
        bool paused;
        bool armed;
    };
    const Case cases[] = {
        {false, true, false, true},
        {true, true, false, false},  // the user is with the window
        {false, false, false, false},
        {false, true, true, false},
    };
    for (const Case& c : cases) {
        TAutoHide autoHide;
        autoHide.SetPaused(c.paused);
        autoHide.DeactivationTick(c.keepShown, c.autohide);
        EXPECT_EQ(autoHide.AutohideTimerRunning(), c.armed) << c.keepShown << " " << c.autohide << " " << c.paused;
    }
}

TEST(AutoHide, CountdownKeepsRunningWhileTheUserIsBackOrTheWindowNotNormal) {
    TAutoHide autoHide;
    autoHide.DeactivationTick(false, true);
    autoHide.AutohideTick(true, true, true);  // the user came back
    EXPECT_TRUE(autoHide.AutohideTimerRunning());
    EXPECT_FALSE(autoHide.SlideTimerRunning());
    autoHide.AutohideTick(false, false, true);  // minimised
    EXPECT_TRUE(autoHide.AutohideTimerRunning());
    autoHide.AutohideTick(true, false, false);  // auto-hide switched off meanwhile
    EXPECT_TRUE(autoHide.AutohideTimerRunning());
    EXPECT_FALSE(autoHide.SlideTimerRunning());
    autoHide.AutohideTick(true, false, true);
    EXPECT_FALSE(autoHide.AutohideTimerRunning());
    EXPECT_TRUE(autoHide.SlideTimerRunning());
}

TEST(AutoHide, PausedWindowNeitherHidesNorShows) {
    TAutoHide autoHide;
    StartHiding(autoHide);
    autoHide.SetPaused(true);
    EXPECT_EQ(autoHide.SlideTick(783, 242, kWork, kDockRight, true), 783);
    EXPECT_EQ(autoHide.State(), TSlideState::Shown);
    autoHide.SetPaused(false);
    const SlideRun hidden = Slide(autoHide, 783, 242, kWork, kDockRight);
    EXPECT_EQ(hidden.left, 1022);

    autoHide.ShowHidden();
    autoHide.SetPaused(true);
    EXPECT_EQ(autoHide.SlideTick(1022, 242, kWork, kDockRight, true), 1022);
    EXPECT_EQ(autoHide.State(), TSlideState::Hidden);
    autoHide.AutohideTick(true, false, true);
    autoHide.DeactivationTick(false, true);
    EXPECT_TRUE(autoHide.SlideTimerRunning());
    EXPECT_FALSE(autoHide.AutohideTimerRunning());
}

TEST(AutoHide, HiddenWindowComesBackOnlyThroughTheSliverWithAutohideOrTheTray) {
    TAutoHide autoHide;
    StartHiding(autoHide);
    Slide(autoHide, 783, 242, kWork, kDockRight);
    autoHide.BodyMouseMove(false);
    EXPECT_FALSE(autoHide.SlideTimerRunning());
    autoHide.ShowHidden();
    EXPECT_TRUE(autoHide.SlideTimerRunning());

    TAutoHide shown;
    shown.BodyMouseMove(true);
    shown.ShowHidden();
    EXPECT_FALSE(shown.SlideTimerRunning()) << "a shown window has nothing to slide";
}

TEST(AutoHide, ShownAgainWithAutohideOffStartsNoCountdown) {
    TAutoHide autoHide;
    StartHiding(autoHide);
    Slide(autoHide, 783, 242, kWork, kDockRight);
    autoHide.ShowHidden();
    int left = 1022;
    while (autoHide.SlideTimerRunning()) left = autoHide.SlideTick(left, 242, kWork, kDockRight, false);
    EXPECT_EQ(left, 782);
    EXPECT_EQ(autoHide.State(), TSlideState::Shown);
    EXPECT_FALSE(autoHide.AutohideTimerRunning());
}

}  // namespace
}  // namespace vh
