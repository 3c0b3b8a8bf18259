#include "ui/NineSlice.h"

#include <gtest/gtest.h>

namespace vh {
namespace {

enum Part { TopLeft, TopRight, BottomLeft, BottomRight, Left, Right, Top, Bottom, Centre };

TEST(NineSlice, WideControlKeepsCornersAndStretchesTheRest) {
    const auto parts = NineSliceParts({40, 30}, {100, 50}, 10, 8);
    EXPECT_EQ(parts[TopLeft].source, (IntRect{0, 0, 10, 8}));
    EXPECT_EQ(parts[TopRight].source, (IntRect{30, 0, 40, 8}));
    EXPECT_EQ(parts[TopRight].dest, (IntRect{90, 0, 100, 8}));
    EXPECT_EQ(parts[BottomLeft].dest, (IntRect{0, 42, 10, 50}));
    EXPECT_EQ(parts[BottomRight].source, (IntRect{30, 22, 40, 30}));
    EXPECT_EQ(parts[Right].dest, (IntRect{90, 8, 100, 42}));
    EXPECT_EQ(parts[Bottom].source, (IntRect{10, 22, 30, 30}));
    EXPECT_EQ(parts[Centre].source, (IntRect{10, 8, 30, 22}));
    EXPECT_EQ(parts[Centre].dest, (IntRect{10, 8, 90, 42}));
    for (const auto& part : parts) EXPECT_TRUE(IsDrawable(part, {40, 30}));
}

TEST(NineSlice, NarrowControlGetsTwoHalfWidthCornersAndAOnePixelCentre) {
    // 2 x 10 > 15: the sides become 15 / 2 = 7; the odd column is the centre's.
    const auto parts = NineSliceParts({40, 40}, {15, 40}, 10, 10);
    EXPECT_EQ(parts[TopLeft].dest, (IntRect{0, 0, 7, 10}));
    EXPECT_EQ(parts[TopRight].dest, (IntRect{8, 0, 15, 10}));
    EXPECT_EQ(parts[TopRight].source, (IntRect{33, 0, 40, 10}));
    EXPECT_EQ(parts[Centre].dest.Width(), 1);
    EXPECT_TRUE(IsDrawable(parts[Centre], {40, 40}));
}

TEST(NineSlice, EvenNarrowControlLeavesNoCentreColumn) {
    const auto parts = NineSliceParts({40, 40}, {14, 40}, 10, 10);
    EXPECT_EQ(parts[TopLeft].dest, (IntRect{0, 0, 7, 10}));
    EXPECT_EQ(parts[TopRight].dest, (IntRect{7, 0, 14, 10}));
    EXPECT_FALSE(IsDrawable(parts[Centre], {40, 40}));
    EXPECT_FALSE(IsDrawable(parts[Top], {40, 40}));
}

TEST(NineSlice, BitmapSmallerThanTheSidesStillDrawsWhatFits) {
    // Sides are limited by the destination only: with a 12-pixel bitmap and
    // sides of 8 the edges' sources run backwards and are skipped.
    const IntSize bitmap{12, 12};
    const auto parts = NineSliceParts(bitmap, {100, 60}, 8, 8);
    EXPECT_EQ(parts[TopLeft].source, (IntRect{0, 0, 8, 8}));
    EXPECT_EQ(parts[BottomRight].source, (IntRect{4, 4, 12, 12}));
    EXPECT_EQ(parts[Top].source, (IntRect{8, 0, 4, 8}));
    EXPECT_TRUE(IsDrawable(parts[TopLeft], bitmap));
    EXPECT_TRUE(IsDrawable(parts[BottomRight], bitmap));
    EXPECT_FALSE(IsDrawable(parts[Top], bitmap));
    EXPECT_FALSE(IsDrawable(parts[Left], bitmap));
    EXPECT_FALSE(IsDrawable(parts[Centre], bitmap));
}

TEST(NineSlice, SourceOutsideATinyBitmapIsNotDrawn) {
    const IntSize bitmap{4, 4};
    const auto parts = NineSliceParts(bitmap, {100, 60}, 8, 8);
    EXPECT_EQ(parts[TopRight].source.left, -4);
    for (const auto& part : parts) EXPECT_FALSE(IsDrawable(part, bitmap));
}

TEST(NineSlice, EmptyDestinationDrawsNothing) {
    for (const auto& part : NineSliceParts({40, 40}, {0, 0}, 10, 10)) EXPECT_FALSE(IsDrawable(part, {40, 40}));
}

}  // namespace
}  // namespace vh
