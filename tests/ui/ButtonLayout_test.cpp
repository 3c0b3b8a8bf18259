#include "ui/ButtonLayout.h"

#include <gtest/gtest.h>

namespace vh {
namespace {

TEST(ButtonLayout, CaptionAloneIsCentred) {
    const auto layout = LayoutButtonContent({85, 32}, {0, 0}, {20, 15});
    EXPECT_TRUE(layout.picture.IsEmpty());
    EXPECT_EQ(layout.caption, (IntRect{32, 8, 52, 23}));  // (85-20)/2 = 32, (32-15)/2 = 8
}

TEST(ButtonLayout, PictureAloneIsCentred) {
    const auto layout = LayoutButtonContent({26, 26}, {16, 16}, {0, 0});
    EXPECT_EQ(layout.picture, (IntRect{5, 5, 21, 21}));
    EXPECT_TRUE(layout.caption.IsEmpty());
}

TEST(ButtonLayout, PictureAndCaptionSitSideBySideWithoutGap) {
    const auto layout = LayoutButtonContent({100, 33}, {16, 16}, {41, 15});
    EXPECT_EQ(layout.picture, (IntRect{21, 8, 37, 24}));  // (100-16-41)/2 = 21, (33-16)/2 = 8
    EXPECT_EQ(layout.caption, (IntRect{37, 9, 78, 24}));  // (33-15)/2 = 9
}

TEST(ButtonLayout, ContentWiderThanTheButtonStartsLeftOfIt) {
    // Integer division truncates toward zero: (10 - 15) / 2 = -2.
    const auto layout = LayoutButtonContent({10, 10}, {0, 0}, {15, 4});
    EXPECT_EQ(layout.caption.left, -2);
    EXPECT_EQ(layout.caption.Width(), 15);
}

TEST(ButtonLayout, NeitherPictureNorCaptionLeavesBothEmpty) {
    const auto layout = LayoutButtonContent({85, 32}, {0, 0}, {0, 0});
    EXPECT_TRUE(layout.picture.IsEmpty());
    EXPECT_TRUE(layout.caption.IsEmpty());
}

TEST(ButtonLayout, PressedCaptionIsOnePixelLower) {
    const IntRect caption{10, 8, 40, 23};
    EXPECT_EQ(CaptionRectForState(caption, TImageButtonState::downed), (IntRect{10, 9, 40, 24}));
    EXPECT_EQ(CaptionRectForState(caption, TImageButtonState::selected), caption);
    EXPECT_EQ(CaptionRectForState(caption, TImageButtonState::normal), caption);
}

TEST(ButtonState, FollowsTheMouseButIgnoresMovesWhileHeld) {
    EXPECT_EQ(NextButtonState(ButtonMouseEvent::pressed, true), TImageButtonState::downed);
    EXPECT_EQ(NextButtonState(ButtonMouseEvent::moved, false), TImageButtonState::selected);
    EXPECT_EQ(NextButtonState(ButtonMouseEvent::moved, true), std::nullopt);
    EXPECT_EQ(NextButtonState(ButtonMouseEvent::left, true), TImageButtonState::normal);
    EXPECT_EQ(NextButtonState(ButtonMouseEvent::left, false), TImageButtonState::normal);
}

}  // namespace
}  // namespace vh
