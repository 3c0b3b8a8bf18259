#include "ui/DpiScale.h"

#include <gtest/gtest.h>

#include "ui/AlphaPixels.h"
#include "ui/NineSlice.h"

namespace vh {
namespace {

struct ScaleCase {
    int value;
    int dpi;
    int expected;
};

class ScaleToDpiTest : public testing::TestWithParam<ScaleCase> {};

TEST_P(ScaleToDpiTest, RoundsToNearestWithHalvesAwayFromZero) {
    const ScaleCase c = GetParam();
    EXPECT_EQ(ScaleToDpi(c.value, c.dpi), c.expected) << c.value << " at " << c.dpi;
}

INSTANTIATE_TEST_SUITE_P(Dpis, ScaleToDpiTest,
                         testing::Values(ScaleCase{492, 96, 492}, ScaleCase{492, 144, 738}, ScaleCase{534, 144, 801},
                                         ScaleCase{13, 120, 16},    // 16.25
                                         ScaleCase{7, 120, 9},      // 8.75
                                         ScaleCase{2, 120, 3},      // 2.5: away from zero
                                         ScaleCase{11, 144, 17},    // 16.5
                                         ScaleCase{-13, 144, -20},  // a font height: -19.5
                                         ScaleCase{-11, 120, -14},  // -13.75
                                         ScaleCase{21, 192, 42}, ScaleCase{-3, 192, -6},
                                         ScaleCase{100, 0, 100},  // unknown DPI: 100 %
                                         ScaleCase{100, 5000, 100}));

TEST(DpiScale, UnscaleReturnsTheDesignValueOfEveryScaledValue) {
    for (const int dpi : {96, 120, 144, 168, 192}) {
        for (int value = -300; value <= 900; ++value) {
            ASSERT_EQ(UnscaleFromDpi(ScaleToDpi(value, dpi), dpi), value) << value << " at " << dpi;
        }
    }
}

TEST(DpiScale, NeighboursStillTouchAfterScaling) {
    // Controls laid side by side at 96 DPI: every scaled right/bottom edge is
    // exactly its neighbour's left/top, whatever the rounding did.
    for (const int dpi : {120, 144, 168, 192}) {
        for (int left = 0; left < 40; ++left) {
            for (int width = 1; width < 40; ++width) {
                const IntRect first = ScaleRectToDpi({left, left, left + width, left + width}, dpi);
                const IntRect second =
                    ScaleRectToDpi({left + width, left + width, left + 2 * width, left + 2 * width}, dpi);
                ASSERT_EQ(first.right, second.left) << left << "+" << width << " at " << dpi;
                ASSERT_EQ(first.bottom, second.top) << left << "+" << width << " at " << dpi;
                ASSERT_GE(first.Width(), width) << "a scale above 100 % never shrinks a control";
            }
        }
    }
}

TEST(DpiScale, NineSliceAtOneHundredFiftyPercent) {
    // A 40 x 30 skin with 10 x 8 corners on a 100 x 50 design rectangle: the
    // skin is resampled to 60 x 45 and drawn with 15 x 12 corners on 150 x 75.
    const int dpi = 144;
    const IntSize skin = ScaleSizeToDpi({40, 30}, dpi);
    EXPECT_EQ(skin, (IntSize{60, 45}));
    const IntRect dest = ScaleRectToDpi({10, 20, 110, 70}, dpi);
    EXPECT_EQ(dest, (IntRect{15, 30, 165, 105}));
    const auto parts = NineSliceParts(skin, {dest.Width(), dest.Height()}, ScaleToDpi(10, dpi), ScaleToDpi(8, dpi));
    EXPECT_EQ(parts[0].source, (IntRect{0, 0, 15, 12}));
    EXPECT_EQ(parts[0].dest, (IntRect{0, 0, 15, 12}));
    EXPECT_EQ(parts[3].source, (IntRect{45, 33, 60, 45}));
    EXPECT_EQ(parts[3].dest, (IntRect{135, 63, 150, 75}));
    EXPECT_EQ(parts[8].dest, (IntRect{15, 12, 135, 63}));
    for (const auto& part : parts) EXPECT_TRUE(IsDrawable(part, skin));
}

TEST(DpiScale, ResamplingIsSmoothAndKeepsPremultipliedPixelsValid) {
    // Left column opaque white, right column transparent; scaled 2 x 1 -> 3 x 2.
    const AlphaPixels source{{2, 1}, {0xFFFFFFFFu, 0x00000000u}};
    const AlphaPixels scaled = ResampleAlphaPixels(source, {3, 2});
    ASSERT_EQ(scaled.size, (IntSize{3, 2}));
    ASSERT_EQ(scaled.pixels.size(), 6u);
    EXPECT_EQ(scaled.pixels[0], 0xFFFFFFFFu);  // the edge pixels stay what they were
    EXPECT_EQ(scaled.pixels[2], 0x00000000u);
    EXPECT_EQ(scaled.pixels[1], 0x80808080u);  // the middle is the blend, not a copy of either
    EXPECT_EQ(scaled.pixels[4], scaled.pixels[1]);
    for (const std::uint32_t pixel : scaled.pixels) {
        const std::uint32_t alpha = pixel >> 24;
        for (int shift = 0; shift < 24; shift += 8) EXPECT_LE((pixel >> shift) & 0xFFu, alpha);
    }
    EXPECT_TRUE(ResampleAlphaPixels(source, {0, 5}).pixels.empty());
    const AlphaPixels same = ResampleAlphaPixels(source, {2, 1});
    EXPECT_EQ(same.pixels, source.pixels);
}

}  // namespace
}  // namespace vh
