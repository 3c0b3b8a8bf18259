// The picture loader over any bytes (PNG, JPEG and GIF through their
// libraries, BMP and ICO through our own decoders): a picture or
// EPictureError, nothing else, and never a read outside the bytes.

#include <cstdint>
#include <span>

#include "environment/Picture.h"
#include "environment/PictureDecoders.h"

#ifndef VH_FUZZ_DECODER
#define VH_FUZZ_DECODER vh::DecodePicture
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const vh::TImage32 image = VH_FUZZ_DECODER(std::span<const std::uint8_t>(data, size));
        if (image.Pixels.size() != static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height))
            __builtin_trap();
    } catch (const vh::EPictureError&) {
    }
    return 0;
}
