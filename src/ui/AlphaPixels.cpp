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

AlphaPixels ResampleAlphaPixels(const AlphaPixels& source, IntSize size) {
    AlphaPixels result;
    const IntSize from = source.size;
    if (from.width <= 0 || from.height <= 0 || size.width <= 0 || size.height <= 0) return result;
    VH_ASSERT(source.pixels.size() == static_cast<std::size_t>(from.width) * static_cast<std::size_t>(from.height));
    result.size = size;
    result.pixels.resize(static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height));
    // Where a target pixel's centre falls in the source, clamped to its edge
    // pixels, in 1/256 steps.
    auto sample = [](int target, int targetExtent, int sourceExtent, int& index, int& weight) {
        const long long fixed = ((2LL * target + 1) * sourceExtent * 256) / (2LL * targetExtent) - 128;
        const long long clamped =
            fixed < 0 ? 0 : (fixed > (sourceExtent - 1) * 256LL ? (sourceExtent - 1) * 256LL : fixed);
        index = static_cast<int>(clamped / 256);
        weight = static_cast<int>(clamped % 256);
    };
    auto at = [&](int x, int y) {
        return source
            .pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(from.width) + static_cast<std::size_t>(x)];
    };
    for (int y = 0; y < size.height; ++y) {
        int y0 = 0;
        int wy = 0;
        sample(y, size.height, from.height, y0, wy);
        const int y1 = y0 + 1 < from.height ? y0 + 1 : y0;
        for (int x = 0; x < size.width; ++x) {
            int x0 = 0;
            int wx = 0;
            sample(x, size.width, from.width, x0, wx);
            const int x1 = x0 + 1 < from.width ? x0 + 1 : x0;
            std::uint32_t pixel = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const int top = Channel(at(x0, y0), shift) * (256 - wx) + Channel(at(x1, y0), shift) * wx;
                const int bottom = Channel(at(x0, y1), shift) * (256 - wx) + Channel(at(x1, y1), shift) * wx;
                const int value = (top * (256 - wy) + bottom * wy + (1 << 15)) >> 16;
                pixel |= std::uint32_t{static_cast<std::uint8_t>(value)} << shift;
            }
            result.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(size.width) +
                          static_cast<std::size_t>(x)] = pixel;
        }
    }
    return result;
}

}  // namespace vh
