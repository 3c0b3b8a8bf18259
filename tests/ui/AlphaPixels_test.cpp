#include "ui/AlphaPixels.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/Exceptions.h"

namespace vh {
namespace {

constexpr std::uint32_t Argb(unsigned a, unsigned r, unsigned g, unsigned b) {
    return a << 24 | r << 16 | g << 8 | b;
}

TEST(AlphaPixels, PngAlphaIsPremultipliedIntoTheColours) {
    const std::vector<std::uint32_t> straight = {Argb(255, 200, 100, 50), Argb(128, 255, 255, 255), Argb(0, 255, 0, 0),
                                                 Argb(64, 200, 0, 100)};
    const auto out = PrepareAlphaPixels(straight, {2, 2}, AlphaSource::PngWithTransparency);
    ASSERT_EQ(out.pixels.size(), 4u);
    EXPECT_EQ(out.pixels[0], Argb(255, 200, 100, 50));
    EXPECT_EQ(out.pixels[1], Argb(128, 128, 128, 128));
    EXPECT_EQ(out.pixels[2], 0u);                   // fully transparent is all zero
    EXPECT_EQ(out.pixels[3], Argb(64, 50, 0, 25));  // 200*64/255 = 50.2, 100*64/255 = 25.1
}

TEST(AlphaPixels, PremultiplyRoundsToNearest) {
    EXPECT_EQ(Premultiply(255, 255), 255);
    EXPECT_EQ(Premultiply(1, 128), 1);  // 0.502
    EXPECT_EQ(Premultiply(1, 127), 0);  // 0.498
    EXPECT_EQ(Premultiply(100, 0), 0);
}

TEST(AlphaPixels, BottomLeftColourIsTheKey) {
    const std::uint32_t magenta = Argb(255, 255, 0, 255);
    const std::uint32_t blue = Argb(255, 0, 0, 200);
    // 3 x 2, rows top-down: the key is the first pixel of the last row.
    const std::vector<std::uint32_t> pixels = {magenta, blue, magenta,  //
                                               magenta, blue, blue};
    const auto out = PrepareAlphaPixels(pixels, {3, 2}, AlphaSource::KeyedOnBottomLeft);
    EXPECT_EQ(out.pixels, (std::vector<std::uint32_t>{0, blue, 0, 0, blue, blue}));
}

TEST(AlphaPixels, KeyedPictureIsDrawnOverWhiteFirst) {
    // A transparent pixel of a GIF or icon shows the white fill; when it is
    // the bottom-left one, white is the key, and real white goes too.
    const std::uint32_t red = Argb(255, 255, 0, 0);
    const std::uint32_t white = Argb(255, 255, 255, 255);
    const std::vector<std::uint32_t> pixels = {red, white, Argb(0, 10, 20, 30), Argb(128, 0, 0, 0)};
    const auto out = PrepareAlphaPixels(pixels, {2, 2}, AlphaSource::KeyedOnBottomLeft);
    EXPECT_EQ(out.pixels[0], red);
    EXPECT_EQ(out.pixels[1], 0u);
    EXPECT_EQ(out.pixels[2], 0u);
    EXPECT_EQ(out.pixels[3], Argb(255, 127, 127, 127));  // half black over white, opaque
}

TEST(AlphaPixels, EmptyPictureGivesEmptyPixels) {
    const auto out = PrepareAlphaPixels({}, {0, 0}, AlphaSource::KeyedOnBottomLeft);
    EXPECT_TRUE(out.pixels.empty());
    EXPECT_EQ(out.size, (IntSize{0, 0}));
}

TEST(AlphaPixels, MismatchedBufferIsRefused) {
    const std::vector<std::uint32_t> pixels(5);
    EXPECT_THROW(PrepareAlphaPixels(pixels, {3, 2}, AlphaSource::PngWithTransparency), Exception);
    EXPECT_THROW(PrepareAlphaPixels(pixels, {-5, -1}, AlphaSource::KeyedOnBottomLeft), Exception);
}

}  // namespace
}  // namespace vh
