// PNG through libpng's simplified reader, which handles every colour type,
// bit depth, palette transparency and interlacing, and reports corrupt or
// truncated data as a failure instead of jumping out of our code.

#include <png.h>

#include "environment/PictureDecoders.h"

namespace vh::picture {

namespace {

// libpng stops reading once the pixels are in; a file cut off after them
// would pass. Walking the chunks to IEND finds such a file.
void RequireEndChunk(std::span<const std::uint8_t> bytes) {
    std::uint64_t at = 8;  // after the signature
    while (at + 8 <= bytes.size()) {
        const std::uint64_t length = (std::uint64_t{bytes[at]} << 24) | (std::uint64_t{bytes[at + 1]} << 16) |
                                     (std::uint64_t{bytes[at + 2]} << 8) | bytes[at + 3];
        const bool end = bytes[at + 4] == 'I' && bytes[at + 5] == 'E' && bytes[at + 6] == 'N' && bytes[at + 7] == 'D';
        at += 12 + length;  // length, type, data, CRC
        if (end) {
            if (at > bytes.size()) break;
            return;
        }
    }
    throw EPictureError("Truncated PNG picture");
}

}  // namespace

TImage32 DecodePng(std::span<const std::uint8_t> bytes) {
    RequireEndChunk(bytes);
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
        throw EPictureError(std::string("Invalid PNG picture: ") + png.message);
    }
    const bool hasAlpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    TImage32 image;
    try {
        image = AllocateImage(png.width, png.height, TPictureFormat::Png, "PNG");
    } catch (...) {
        png_image_free(&png);
        throw;
    }
    png.format = PNG_FORMAT_BGRA;  // 0xAARRGGBB words on a little-endian machine, straight alpha
    if (!png_image_finish_read(&png, nullptr, image.Pixels.data(), static_cast<png_int_32>(png.width * 4), nullptr)) {
        throw EPictureError(std::string("Invalid PNG picture: ") + png.message);
    }
    image.HasAlpha = hasAlpha;
    return image;
}

}  // namespace vh::picture
