#include "ui/Docking.h"

#include <gtest/gtest.h>

namespace vh {
namespace {

// A task bar at the bottom: the work area starts at the screen's origin.
constexpr IntRect kWork{0, 0, 1024, 738};
// A task bar at the left: the work area starts further right.
constexpr IntRect kWorkRightOfTaskBar{60, 0, 1024, 768};

TEST(DockPosition, EachSideAndPlace) {
    struct Case {
        IntRect work;
        std::uint8_t side;
        std::uint8_t place;
        bool lite;
        IntPoint expected;
    };
    const IntSize window{242, 200};
    const Case cases[] = {
        {kWork, kDockRight, kPlaceTop, false, {1024 - 242 + 1, 0}},  // one pixel past the right edge
        {kWork, kDockLeft, kPlaceTop, false, {0, 0}},
        {kWorkRightOfTaskBar, kDockLeft, kPlaceTop, false, {60, 0}},
        {kWorkRightOfTaskBar, kDockRight, kPlaceBottom, false, {783, 0}},  // the full view ignores the place
        {kWork, kDockRight, kPlaceBottom, true, {783, 738 - 200}},
        {kWork, kDockLeft, kPlaceTopAgain, true, {0, 0}},
        {kWork, kDockLeft, kPlaceTop, true, {0, 0}},
        {kWork, 0, kPlaceTop, false, {783, 0}},  // an unknown side docks right
        {{0, 40, 1024, 768}, kDockRight, kPlaceBottom, true, {783, 568}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DockPosition(c.work, window, c.side, c.place, c.lite), c.expected)
            << "side " << int(c.side) << " place " << int(c.place) << " lite " << c.lite;
    }
}

TEST(DockPosition, FullViewTakesTheWorkAreaHeightLiteViewItsOwn) {
    EXPECT_EQ(DockedWindowHeight(kWork, false, 300), 738);
    EXPECT_EQ(DockedWindowHeight({0, 40, 1024, 768}, false, 300), 728);
    EXPECT_EQ(DockedWindowHeight(kWork, true, 300), 300);
}

TEST(DockChangeForDrag, CrossingTheMiddleFlipsTheSideOnly) {
    struct Case {
        IntRect work;
        std::uint8_t side;
        int wantedLeft;
        std::optional<std::uint8_t> expected;
    };
    const Case cases[] = {
        {kWork, kDockRight, 511, kDockLeft},  // middle is 512
        {kWork, kDockRight, 512, std::nullopt},
        {kWork, kDockRight, 900, std::nullopt},  // within the right half: nothing
        {kWork, kDockLeft, 513, kDockRight},
        {kWork, kDockLeft, 512, std::nullopt},
        {kWork, kDockLeft, -40, std::nullopt},
        // The middle counts from the work area's left: 60 + 964 / 2 = 542.
        {kWorkRightOfTaskBar, kDockRight, 530, kDockLeft},
        {kWorkRightOfTaskBar, kDockLeft, 530, std::nullopt},
        {kWorkRightOfTaskBar, kDockLeft, 543, kDockRight},
        // An odd width truncates: 1023 / 2 = 511.
        {{0, 0, 1023, 738}, kDockRight, 510, kDockLeft},
        {{0, 0, 1023, 738}, kDockRight, 511, std::nullopt},
    };
    for (const Case& c : cases) {
        const DockChange change = DockChangeForDrag({c.wantedLeft, 100}, c.work, c.side, false);
        EXPECT_EQ(change.side, c.expected) << "side " << int(c.side) << " to " << c.wantedLeft;
        EXPECT_FALSE(change.verticalPlace.has_value()) << "the full view has no vertical place";
    }
}

TEST(DockChangeForDrag, LiteViewChoosesTopOrBottomHalf) {
    EXPECT_EQ(DockChangeForDrag({900, 369}, kWork, kDockRight, true).verticalPlace, kPlaceTopAgain);
    EXPECT_EQ(DockChangeForDrag({900, 370}, kWork, kDockRight, true).verticalPlace, kPlaceBottom);
    EXPECT_EQ(DockChangeForDrag({900, -10}, kWork, kDockRight, true).verticalPlace, kPlaceTopAgain);
    const DockChange both = DockChangeForDrag({20, 700}, kWork, kDockRight, true);
    EXPECT_EQ(both.side, kDockLeft);
    EXPECT_EQ(both.verticalPlace, kPlaceBottom);
}

}  // namespace
}  // namespace vh
