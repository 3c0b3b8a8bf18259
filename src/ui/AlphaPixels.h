#pragma once
// Turning a decoded picture into the premultiplied 32-bit pixels that
// per-pixel alpha blending needs. Pixels are 0xAARRGGBB words (BGRA bytes in
// memory on little-endian machines), rows top-down.

#include <cstdint>
#include <span>
#include <vector>

#include "ui/Geometry.h"

namespace vh {

struct AlphaPixels {
    IntSize size;
    std::vector<std::uint32_t> pixels;  // premultiplied, size.width * size.height
};

// How a picture becomes alpha pixels.
enum class AlphaSource {
    // A PNG with transparency: drawn over transparent black, so its colours
    // end up multiplied by alpha, and the alpha goes to the top byte.
    PngWithTransparency,
    // Everything else: drawn over white, then the bottom-left pixel's colour
    // is the key that becomes fully transparent; every other pixel is opaque.
    KeyedOnBottomLeft,
};

// `straight` holds straight (not premultiplied) alpha, width * height words.
// Raises vh::Exception when the buffer does not match the size.
AlphaPixels PrepareAlphaPixels(std::span<const std::uint32_t> straight, IntSize size, AlphaSource source);

// The pixels resampled to another size (bilinear over premultiplied
// channels, pixel centres aligned), as a skin or icon drawn at a display
// scale. An empty source or size gives an empty result.
AlphaPixels ResampleAlphaPixels(const AlphaPixels& source, IntSize size);

// One channel multiplied by alpha, rounded to nearest.
std::uint8_t Premultiply(std::uint8_t channel, std::uint8_t alpha) noexcept;

}  // namespace vh
