// JPEG through libjpeg. libjpeg reports errors by calling back; the callback
// jumps back here with longjmp (a C++ exception must not unwind through the
// library's C frames), and everything alive across the jump is declared
// before setjmp. Warnings (a premature end of data, corrupt segments) count
// as errors, so a truncated file is refused instead of shown half grey.

#include <csetjmp>
#include <cstdio>
#include <limits>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include "environment/PictureDecoders.h"

namespace vh::picture {

namespace {

struct ErrorManager {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JumpOut(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
    if (level < 0) JumpOut(info);  // a warning: the data is damaged
}

std::uint8_t Mul255(unsigned a, unsigned b) {
    return static_cast<std::uint8_t>((a * b + 127) / 255);
}

}  // namespace

TImage32 DecodeJpeg(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > std::numeric_limits<unsigned long>::max()) throw EPictureError("JPEG picture too large");
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    TImage32 image;
    std::vector<std::uint8_t> row;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JumpOut;
    errors.manager.emit_message = OnMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        throw EPictureError(std::string("Invalid JPEG picture: ") + errors.message);
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    bool sizeRefused = false;
    try {
        image = AllocateImage(info.image_width, info.image_height, TPictureFormat::Jpeg, "JPEG");
    } catch (const EPictureError&) {
        sizeRefused = true;
    }
    if (sizeRefused) {
        jpeg_destroy_decompress(&info);
        throw EPictureError("Unsupported JPEG picture size " + std::to_string(info.image_width) + " x " +
                            std::to_string(info.image_height));
    }
    jpeg_start_decompress(&info);
    const unsigned channels = static_cast<unsigned>(info.output_components);
    if (info.output_width != info.image_width || info.output_height != info.image_height ||
        channels != (cmyk ? 4u : 3u)) {
        jpeg_destroy_decompress(&info);
        throw EPictureError("Unsupported JPEG picture layout");
    }
    row.resize(static_cast<size_t>(info.output_width) * channels);
    const size_t width = info.output_width;
    while (info.output_scanline < info.output_height) {
        const size_t y = info.output_scanline;
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        std::uint32_t* out = image.Pixels.data() + y * width;
        for (size_t x = 0; x < width; ++x) {
            const std::uint8_t* p = row.data() + x * channels;
            if (!cmyk) {
                out[x] = Argb(255, p[0], p[1], p[2]);
            } else if (info.saw_Adobe_marker) {  // Adobe stores CMYK inverted
                out[x] = Argb(255, Mul255(p[0], p[3]), Mul255(p[1], p[3]), Mul255(p[2], p[3]));
            } else {
                out[x] = Argb(255, Mul255(255 - p[0], 255 - p[3]), Mul255(255 - p[1], 255 - p[3]),
                              Mul255(255 - p[2], 255 - p[3]));
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return image;
}

}  // namespace vh::picture
