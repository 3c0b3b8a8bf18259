#pragma once
// The decoders behind DecodePicture, one per format, and what they share.

#include <cstdint>
#include <span>
#include <string_view>

#include "environment/Picture.h"

namespace vh::picture {

TImage32 DecodePng(std::span<const std::uint8_t> bytes);
TImage32 DecodeJpeg(std::span<const std::uint8_t> bytes);
TImage32 DecodeGif(std::span<const std::uint8_t> bytes);
TImage32 DecodeBmp(std::span<const std::uint8_t> bytes);
TImage32 DecodeIco(std::span<const std::uint8_t> bytes);

// EPictureError for a size of zero, a negative one or one above
// kMaxPicturePixels: what a decoder checks before it trusts the size.
void CheckImageSize(std::int64_t width, std::int64_t height, std::string_view formatName);

// An image of that size with its pixels allocated (0, transparent black);
// EPictureError for a size of zero, a negative one or one above kMaxPicturePixels.
TImage32 AllocateImage(std::int64_t width, std::int64_t height, TPictureFormat format, std::string_view formatName);

inline std::uint32_t Argb(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b) noexcept {
    return (std::uint32_t{a} << 24) | (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b;
}

}  // namespace vh::picture
