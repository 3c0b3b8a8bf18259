#include "PictureTestFiles.h"

#include <gif_lib.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include <jpeglib.h>

namespace vh::testing {

namespace {

void Put16(Bytes& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
std::uint8_t R(std::uint32_t p) {
    return static_cast<std::uint8_t>(p >> 16);
}
std::uint8_t G(std::uint32_t p) {
    return static_cast<std::uint8_t>(p >> 8);
}
std::uint8_t B(std::uint32_t p) {
    return static_cast<std::uint8_t>(p);
}

int WriteToVector(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

// A 40-byte info header and the rows of a DIB (no file header).
Bytes DibBody(int width, int height, const std::vector<std::uint32_t>& pixels, int bitCount, bool topDown,
              int headerHeight) {
    Bytes out;
    std::vector<std::uint32_t> palette;
    if (bitCount <= 8) {
        for (std::uint32_t p : pixels) {
            bool found = false;
            for (std::uint32_t q : palette) found = found || q == (p & 0xFFFFFF);
            if (!found) palette.push_back(p & 0xFFFFFF);
        }
        if (palette.size() > (1u << bitCount)) throw std::logic_error("too many colours");
    }
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(topDown ? -headerHeight : headerHeight));
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(bitCount));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, static_cast<std::uint32_t>(palette.size()));
    Put32(out, 0);
    for (std::uint32_t p : palette) Put32(out, p);
    const size_t stride = ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;
        Bytes line(stride, 0);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixels[static_cast<size_t>(y * width + x)];
            switch (bitCount) {
                case 1:
                case 8: {
                    unsigned index = 0;
                    while ((palette[index] != (p & 0xFFFFFF))) ++index;
                    const size_t bit = static_cast<size_t>(x) * bitCount;
                    line[bit / 8] |= static_cast<std::uint8_t>(index << (8 - bitCount - bit % 8));
                    break;
                }
                case 24: line[x * 3] = B(p), line[x * 3 + 1] = G(p), line[x * 3 + 2] = R(p); break;
                default: std::memcpy(&line[x * 4], &p, 4);
            }
        }
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

}  // namespace

Bytes MakePng(int width, int height, const std::vector<std::uint32_t>& pixels, bool withAlpha) {
    std::vector<std::uint8_t> components;
    for (std::uint32_t p : pixels) {
        components.insert(components.end(), {R(p), G(p), B(p)});
        if (withAlpha) components.push_back(static_cast<std::uint8_t>(p >> 24));
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = withAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, components.data(), 0, nullptr)) {
        throw std::runtime_error(image.message);
    }
    Bytes out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, components.data(), 0, nullptr)) {
        throw std::runtime_error(image.message);
    }
    out.resize(size);
    return out;
}

Bytes MakeJpeg(int width, int height, const std::vector<std::uint32_t>& pixels, bool grayscale) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = grayscale ? 1 : 3;
    info.in_color_space = grayscale ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row;
    for (int y = 0; y < height; ++y) {
        row.clear();
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixels[static_cast<size_t>(y * width + x)];
            if (grayscale) {
                row.push_back(G(p));
            } else {
                row.insert(row.end(), {R(p), G(p), B(p)});
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

Bytes MakeGif(int screenWidth, int screenHeight, int left, int top, int width, int height,
              const std::vector<std::uint8_t>& indexes, const std::vector<std::uint32_t>& palette, int transparentIndex,
              bool interlaced) {
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToVector, &error);
    if (!gif) throw std::runtime_error("EGifOpen");
    std::vector<GifColorType> colors;
    for (std::uint32_t p : palette) colors.push_back({R(p), G(p), B(p)});
    int bits = 1;
    while ((1 << bits) < static_cast<int>(colors.size())) ++bits;
    colors.resize(static_cast<size_t>(1) << bits);
    ColorMapObject* map = GifMakeMapObject(static_cast<int>(colors.size()), colors.data());
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, screenWidth, screenHeight, bits, 0, map);
    if (transparentIndex >= 0) {
        GraphicsControlBlock control{};
        control.TransparentColor = transparentIndex;
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&control, extension);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension);
    }
    EGifPutImageDesc(gif, left, top, width, height, interlaced, nullptr);
    std::vector<int> order;
    if (interlaced) {
        const int offsets[] = {0, 4, 2, 1};
        const int jumps[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = offsets[pass]; y < height; y += jumps[pass]) order.push_back(y);
    } else {
        for (int y = 0; y < height; ++y) order.push_back(y);
    }
    for (int y : order) EGifPutLine(gif, const_cast<GifPixelType*>(indexes.data() + y * width), width);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

Bytes MakeBmp(int width, int height, const std::vector<std::uint32_t>& pixels, int bitCount, bool topDown) {
    const Bytes body = DibBody(width, height, pixels, bitCount, topDown, height);
    const std::uint32_t headerAndPalette =
        40 + (bitCount <= 8 ? static_cast<std::uint32_t>(body.size()) - 40 -
                                  static_cast<std::uint32_t>(((static_cast<size_t>(width) * bitCount + 31) / 32) * 4 *
                                                             static_cast<size_t>(height))
                            : 0);
    Bytes out{'B', 'M'};
    Put32(out, static_cast<std::uint32_t>(14 + body.size()));
    Put32(out, 0);
    Put32(out, 14 + headerAndPalette);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes MakeIco(const std::vector<IconImage>& images) {
    std::vector<Bytes> data;
    for (const IconImage& image : images) {
        if (!image.png.empty()) {
            data.push_back(image.png);
            continue;
        }
        Bytes dib = DibBody(image.width, image.height, image.pixels, 24, false, image.height * 2);
        const size_t stride = ((static_cast<size_t>(image.width) + 31) / 32) * 4;
        for (int row = 0; row < image.height; ++row) {
            const int y = image.height - 1 - row;
            Bytes line(stride, 0);
            for (int x = 0; x < image.width; ++x) {
                if ((image.pixels[static_cast<size_t>(y * image.width + x)] >> 24) == 0) {
                    line[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
                }
            }
            dib.insert(dib.end(), line.begin(), line.end());
        }
        data.push_back(dib);
    }
    Bytes out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(images[i].width % 256));
        out.push_back(static_cast<std::uint8_t>(images[i].height % 256));
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, images[i].png.empty() ? 24 : 32);
        Put32(out, static_cast<std::uint32_t>(data[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(data[i].size());
    }
    for (const Bytes& d : data) out.insert(out.end(), d.begin(), d.end());
    return out;
}

}  // namespace vh::testing
