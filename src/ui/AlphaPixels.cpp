#include "ui/AlphaPixels.h"

#include "common/Exceptions.h"

namespace vh {
namespace {

constexpr std::uint32_t kRgbMask = 0x00FFFFFFu;

std::uint8_t Channel(std::uint32_t pixel, int shift) noexcept {
    return static_cast<std::uint8_t>(pixel >> shift);
}

std::uint32_t PremultipliedPixel(std::uint32_t pixel) noexcept {
    const std::uint8_t a = Channel(pixel, 24);
    return (std::uint32_t{a} << 24) | (std::uint32_t{Premultiply(Channel(pixel, 16), a)} << 16) |
           (std::uint32_t{Premultiply(Channel(pixel, 8), a)} << 8) | Premultiply(Channel(pixel, 0), a);
}

// The pixel blended over an opaque white fill; the result's alpha is unused.
std::uint32_t OverWhite(std::uint32_t pixel) noexcept {
    const std::uint8_t a = Channel(pixel, 24);
    const std::uint8_t white = Premultiply(255, static_cast<std::uint8_t>(255 - a));
    auto over = [&](int shift) {
        return std::uint32_t{static_cast<std::uint8_t>(Premultiply(Channel(pixel, shift), a) + white)} << shift;
    };
    return over(16) | over(8) | over(0);
}

}  // namespace

std::uint8_t Premultiply(std::uint8_t channel, std::uint8_t alpha) noexcept {
    const unsigned product = unsigned{channel} * alpha + 128u;
    return static_cast<std::uint8_t>((product + (product >> 8)) >> 8);
}

AlphaPixels PrepareAlphaPixels(std::span<const std::uint32_t> straight, IntSize size, AlphaSource source) {
    if (size.width < 0 || size.height < 0 ||
        straight.size() != static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height)) {
        throw Exception("Picture pixels do not match its size");
    }
    AlphaPixels result;
    result.size = size;
    result.pixels.reserve(straight.size());
    if (source == AlphaSource::PngWithTransparency) {
        for (std::uint32_t pixel : straight) result.pixels.push_back(PremultipliedPixel(pixel));
        return result;
    }
    for (std::uint32_t pixel : straight) result.pixels.push_back(OverWhite(pixel));
    if (result.pixels.empty()) return result;
    const std::uint32_t key =
        result.pixels[static_cast<std::size_t>(size.height - 1) * static_cast<std::size_t>(size.width)] & kRgbMask;
    for (std::uint32_t& pixel : result.pixels) pixel = (pixel & kRgbMask) == key ? 0u : (pixel | 0xFF000000u);
    return result;
}

}  // namespace vh
