#pragma once
// Real picture files made for the picture tests: PNG, JPEG and GIF written
// with the same libraries the loader uses, BMP and ICO put together byte by
// byte. Pixels are 0xAARRGGBB words, rows top-down.

#include <cstdint>
#include <string>
#include <vector>

namespace vh::testing {

using Bytes = std::vector<std::uint8_t>;

Bytes MakePng(int width, int height, const std::vector<std::uint32_t>& pixels, bool withAlpha);
Bytes MakeJpeg(int width, int height, const std::vector<std::uint32_t>& pixels, bool grayscale = false);
// One frame at (left, top) on a screen of screenWidth x screenHeight; the
// frame's pixels are palette indexes, rows top-down (stored in the four
// interlace passes when `interlaced`).
Bytes MakeGif(int screenWidth, int screenHeight, int left, int top, int width, int height,
              const std::vector<std::uint8_t>& indexes, const std::vector<std::uint32_t>& palette, int transparentIndex,
              bool interlaced = false);
// A bitmap of 1, 8, 24 or 32 bits (32: the alpha byte as given), bottom-up
// unless topDown.
Bytes MakeBmp(int width, int height, const std::vector<std::uint32_t>& pixels, int bitCount, bool topDown = false);
// An icon whose images are 24-bit bitmaps with an AND mask (a set mask bit
// where the pixel's alpha is 0), or PNG data when `png` is not empty.
struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    Bytes png;
};
Bytes MakeIco(const std::vector<IconImage>& images);

}  // namespace vh::testing
